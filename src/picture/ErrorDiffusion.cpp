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

// Errors are counted in sixteenths, the Floyd-Steinberg weights being 7 (ahead), 3 (below
// behind), 5 (below) and 1 (below ahead) sixteenths.
struct Rgb3 {
    int r, g, b;
};
} // namespace

std::vector<TPlatformColor> DiffuseToPalette(std::span<const TPlatformColor> pixels, int32_t width,
                                             int32_t height,
                                             std::span<const TPlatformColor> palette) {
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
            const int r = std::clamp(Red(c) + ((in.r + ahead.r + 8) >> 4), 0, 255);
            const int g = std::clamp(Green(c) + ((in.g + ahead.g + 8) >> 4), 0, 255);
            const int b = std::clamp(Blue(c) + ((in.b + ahead.b + 8) >> 4), 0, 255);
            const uint8_t index = nearest.Find(r, g, b);
            target[at - 1] = palette[index];
            const Rgb3& got = colours[index];
            const Rgb3 e{std::clamp(r - got.r, -kMaxError, kMaxError),
                         std::clamp(g - got.g, -kMaxError, kMaxError),
                         std::clamp(b - got.b, -kMaxError, kMaxError)};
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
