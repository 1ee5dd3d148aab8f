#include "LocalContrast.h"

#include "Rgb.h"

#include <algorithm>
#include <cstdlib>

std::vector<uint8_t> LocalContrast(std::span<const TPlatformColor> pixels, int32_t width, int32_t height) {
    std::vector<uint8_t> contrast(pixels.size());
    const size_t w = size_t(width);
    for (int32_t y = 0; y < height; ++y) {
        const TPlatformColor* row = pixels.data() + size_t(y) * w;
        const TPlatformColor* above = y > 0 ? row - w : row;
        const TPlatformColor* below = y + 1 < height ? row + w : row;
        for (size_t x = 0; x < w; ++x) {
            const TPlatformColor c = row[x], left = row[x > 0 ? x - 1 : x], right = row[x + 1 < w ? x + 1 : x];
            int most = 0;
            for (int shift : {0, 8, 16}) {
                const int v = int(c >> shift & 0xFF);
                auto d = [&](TPlatformColor n) { return std::abs(v - int(n >> shift & 0xFF)); };
                most = std::max(most, d(left) + d(right) + d(above[x]) + d(below[x]));
            }
            contrast[size_t(y) * w + x] = uint8_t(std::min(most, 255));
        }
    }
    return contrast;
}
