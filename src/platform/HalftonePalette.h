// The fixed palette that pictures are reduced to before they become GIF images: the same
// colours on every machine, so a card looks the same wherever it was built.
#pragma once

#include "ColorTbl.h"

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr TPlatformColor PlatformColor(uint8_t red, uint8_t green, uint8_t blue) {
    return TPlatformColor(red) | TPlatformColor(green) << 8 | TPlatformColor(blue) << 16;
}

// The six levels of each component in the colour cube, evenly spaced from 0 to 255.
inline constexpr std::array<uint8_t, 6> kCubeLevels = {0, 51, 102, 153, 204, 255};

inline constexpr size_t kHalftonePaletteSize = 255;

// The 6 x 6 x 6 colour cube, the 16 standard colours that are not in it, then the greys
// 7, 15, 23 ... 247 (every eighth level): 255 distinct colours. Those greys are the ones that
// the drop shadow's halving reaches from white (255, 127, 63, 31, 15, 7), so a shadow on
// white, or on an earlier shadow, stays a palette colour and is never dithered.
const std::array<TPlatformColor, kHalftonePaletteSize>& HalftonePalette();
