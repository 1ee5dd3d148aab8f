#include "DessineOmbre.h"

#include <cstddef>

void DessineOmbre(TPicture& picture, TPlatformColor fontColor) {
    constexpr int kOffset = 2;
    constexpr TPlatformColor kRgb = 0xFFFFFF;
    const TPlatformColor font = fontColor & kRgb;
    const size_t width = size_t(picture.Width);
    // A shadow that would fall beyond the last row or column is not drawn, so those source
    // pixels need not be looked at.
    for (int32_t y = 1; y + kOffset < picture.Height; ++y) {
        TPlatformColor* row = picture.Pixels.data() + size_t(y) * width;
        TPlatformColor* below = row + kOffset * width;
        for (int32_t x = 1; x + kOffset < picture.Width; ++x) {
            TPlatformColor& shade = below[x + kOffset];
            if ((row[x] & kRgb) == font && (shade & kRgb) != font)
                shade = ((shade & kRgb) >> 1) & 0x7F7F7F;
        }
    }
}
