// One frame of a transition, drawn from the picture before it and the picture after it. Every
// effect is a function of the elapsed share of its time alone, in integer arithmetic, so the
// same moment gives the same pixels wherever it is drawn.
#pragma once

#include "CardTimeline.h"
#include "RgbImage.h"

struct TRect {
    int32_t X = 0, Y = 0, Width = 0, Height = 0;
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

// Writes every pixel of `area` in `out` for the moment `elapsed` of `duration` ms (0 <
// duration, 0 <= elapsed <= duration) of `effect` going from `before` to `after`; pixels
// outside `area` are left as they are. The three pictures are of one size and `area` lies
// inside them. At elapsed 0 the area is `before`'s, at `duration` it is `after`'s, except for
// the window openings, which draw the window's edge over `before` on their way.
void DrawTransition(TEffect effect, const TRgbImage& before, const TRgbImage& after, TRect area,
                    int64_t elapsed, int64_t duration, TRgbImage& out);

namespace transitiondraw {
// The colour of the window's edge while it opens.
inline constexpr uint8_t kEdgeGrey = 0xD0;
// Blinds: slats of at most a twelfth of the area each; mosaic: tiles of a 32nd of the area's
// longer side; neither smaller than kMinBand pixels.
inline constexpr int32_t kBlindSlats = 12;
inline constexpr int32_t kMosaicTilesAlong = 32;
inline constexpr int32_t kMinBand = 4;
// The window's edge: 2 pixels wide, or a 480th of the window's longer side.
inline constexpr int32_t kEdgeWidth = 2;
inline constexpr int32_t kEdgeWidthDivisor = 480;
} // namespace transitiondraw
