#include "ErrorDiffusion.h"

#include "NearestColour.h"
#include "Rgb.h"

#include <algorithm>
#include <cstddef>

namespace {
// An error passed on is at most this much a component. Where the palette has no colour near a
// pixel's, the whole error would pile up until some far colour is picked, which shows as
// speckles of a wrong hue. Eight still mixes two palette colours up to sixteen apart into any
// shade between them, more than the spacing of 256 colours chosen for a picture, so gradients
// keep their shade without bands.
constexpr int kMaxError = 8;

// How much of its error a pixel passes on, in sixteenths, by its local contrast. Smooth
// shading gets most of it: there a band would show. Less than all, since a full error keeps
// every pixel of a flat area flickering between two colours. Texture and edges hide bands
// and would only get speckled: from kTextured on, the error fades, and from kBusy on none
// is passed.
constexpr int kStrength = 14, kTextured = 2, kBusy = 14;

int Strength(std::span<const uint8_t> contrast, size_t i) {
    if (contrast.empty()) return kStrength;
    const int c = contrast[i];
    if (c <= kTextured) return kStrength;
    return std::max(0, kStrength - (c - kTextured) * kStrength / (kBusy - kTextured));
}

// An error reaching a pixel whose squared length is below this (one component off by one) is
// dropped: it could only turn a colour that is as near as the palette gets into grain.
constexpr int kNoticeable = 2;

// Errors are counted in 256ths: the error times its strength, times the Floyd-Steinberg
// weights of 7 (ahead), 3 (below behind), 5 (below) and 1 (below ahead) sixteenths.
struct Rgb3 {
    int r, g, b;
};
} // namespace

std::vector<TPlatformColor> DiffuseToPalette(std::span<const TPlatformColor> pixels, int32_t width,
                                             int32_t height,
                                             std::span<const TPlatformColor> palette,
                                             std::span<const uint8_t> contrast) {
    NearestColour nearest(palette);
    std::vector<Rgb3> colours;
    for (TPlatformColor c : palette)
        colours.push_back({Red(c), Green(c), Blue(c)});
    std::vector<TPlatformColor> out(pixels.size());
    // The errors passed to this row and to the next, with a spare pixel at each end so that
    // the edges need no test.
    std::vector<Rgb3> here(size_t(width) + 2), below(size_t(width) + 2);
    for (int32_t y = 0; y < height; ++y) {
        const bool forward = y % 2 == 0;
        const ptrdiff_t step = forward ? 1 : -1;
        const size_t first = forward ? 1 : size_t(width);
        // Each pixel adds to the row below behind it and where it stands, and sets the error
        // ahead, so only the first two places need clearing.
        below[first] = below[size_t(ptrdiff_t(first) - step)] = {0, 0, 0};
        const TPlatformColor* source = pixels.data() + size_t(y) * size_t(width);
        TPlatformColor* target = out.data() + size_t(y) * size_t(width);
        Rgb3 ahead{0, 0, 0};
        for (size_t n = 0, at = first; n < size_t(width); ++n, at = size_t(ptrdiff_t(at) + step)) {
            const TPlatformColor c = source[at - 1];
            const Rgb3& in = here[at];
            Rgb3 arriving{(in.r + ahead.r + 128) >> 8, (in.g + ahead.g + 128) >> 8, (in.b + ahead.b + 128) >> 8};
            if (SquaredDistance(arriving.r, arriving.g, arriving.b, 0, 0, 0) < kNoticeable) arriving = {0, 0, 0};
            const int r = std::clamp(Red(c) + arriving.r, 0, 255);
            const int g = std::clamp(Green(c) + arriving.g, 0, 255);
            const int b = std::clamp(Blue(c) + arriving.b, 0, 255);
            const uint8_t index = nearest.Find(r, g, b);
            target[at - 1] = palette[index];
            const Rgb3& got = colours[index];
            const int strength = Strength(contrast, size_t(y) * size_t(width) + at - 1);
            const Rgb3 e{std::clamp(r - got.r, -kMaxError, kMaxError) * strength,
                         std::clamp(g - got.g, -kMaxError, kMaxError) * strength,
                         std::clamp(b - got.b, -kMaxError, kMaxError) * strength};
            ahead = {7 * e.r, 7 * e.g, 7 * e.b};
            Rgb3& behind = below[size_t(ptrdiff_t(at) - step)];
            behind = {behind.r + 3 * e.r, behind.g + 3 * e.g, behind.b + 3 * e.b};
            Rgb3& under = below[at];
            under = {under.r + 5 * e.r, under.g + 5 * e.g, under.b + 5 * e.b};
            below[size_t(ptrdiff_t(at) + step)] = e;
        }
        here.swap(below);
    }
    return out;
}
