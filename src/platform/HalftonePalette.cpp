#include "HalftonePalette.h"

namespace {
using Palette = std::array<TPlatformColor, kHalftonePaletteSize>;

constexpr Palette MakePalette() {
    Palette palette{};
    size_t n = 0;
    for (uint8_t r : kCubeLevels)
        for (uint8_t g : kCubeLevels)
            for (uint8_t b : kCubeLevels)
                palette[n++] = PlatformColor(r, g, b);
    // The standard colours made of 128s, and silver; the others are corners of the cube.
    for (int mask = 1; mask < 8; ++mask)
        palette[n++] = PlatformColor(mask & 1 ? 128 : 0, mask & 2 ? 128 : 0, mask & 4 ? 128 : 0);
    palette[n++] = PlatformColor(192, 192, 192);
    for (int grey = 7; grey < 255; grey += 8)
        palette[n++] = PlatformColor(grey, grey, grey);
    return palette; // too many colours: writing past the end stops the compiler
}

constexpr bool AllDistinct(const Palette& palette) {
    for (size_t i = 0; i < palette.size(); ++i)
        for (size_t j = i + 1; j < palette.size(); ++j)
            if (palette[i] == palette[j]) return false;
    return true;
}

constexpr Palette kPalette = MakePalette();
// Too few colours would leave black entries at the end, which this catches too.
static_assert(AllDistinct(kPalette), "the halftone palette repeats a colour");
} // namespace

const Palette& HalftonePalette() {
    return kPalette;
}
