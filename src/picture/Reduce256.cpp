#include "Reduce256.h"

#include "ColourCounts.h"
#include "ErrorDiffusion.h"
#include "LocalContrast.h"
#include "PaletteChoice.h"

#include <algorithm>

namespace {
constexpr int kGifColours = 256;

// A pixel's weight in the choice of the palette, by its local contrast: smooth shading, where
// an error shows (skin, sky, petals), counts eight times as much as texture and noise, which
// hide it.
constexpr int kSmooth = 2, kNoisy = 12, kMostWeight = 16, kLeastWeight = 2;

std::vector<uint8_t> PaletteWeights(const std::vector<uint8_t>& contrast) {
    std::vector<uint8_t> weights(contrast.size());
    std::transform(contrast.begin(), contrast.end(), weights.begin(), [](uint8_t c) {
        if (c <= kSmooth) return uint8_t(kMostWeight);
        return uint8_t(std::max(kLeastWeight,
                                kMostWeight - (c - kSmooth) * (kMostWeight - kLeastWeight) / (kNoisy - kSmooth)));
    });
    return weights;
}
} // namespace

std::vector<TPlatformColor> ReduceTo256Colours(std::span<const TPlatformColor> pixels,
                                               int32_t width, int32_t height) {
    if (DistinctColours(pixels, kGifColours)) {
        std::vector<TPlatformColor> out(pixels.begin(), pixels.end());
        for (TPlatformColor& c : out)
            c &= 0xFFFFFF;
        return out;
    }
    const std::vector<uint8_t> contrast = LocalContrast(pixels, width, height);
    return DiffuseToPalette(pixels, width, height,
                            ChoosePalette(pixels, kGifColours, PaletteWeights(contrast)), contrast);
}
