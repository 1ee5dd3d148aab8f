#include "Reduce256.h"

#include "ColourCounts.h"
#include "ErrorDiffusion.h"
#include "PaletteChoice.h"

namespace {
constexpr int kGifColours = 256;
}

std::vector<TPlatformColor> ReduceTo256Colours(std::span<const TPlatformColor> pixels,
                                               int32_t width, int32_t height) {
    if (DistinctColours(pixels, kGifColours)) {
        std::vector<TPlatformColor> out(pixels.begin(), pixels.end());
        for (TPlatformColor& c : out)
            c &= 0xFFFFFF;
        return out;
    }
    return DiffuseToPalette(pixels, width, height, ChoosePalette(pixels, kGifColours));
}
