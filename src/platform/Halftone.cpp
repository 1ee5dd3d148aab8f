#include "Halftone.h"

#include "HalftonePalette.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace {
// Components spread by at most this much are dithered as a grey: the grey ramp is eight times
// finer than the cube, and a grey dithered through the cube would come out speckled in colour.
constexpr int kGreyTolerance = 8;

constexpr int kBayerSize = 8;
constexpr int kThresholds = kBayerSize * kBayerSize;
using BayerMatrix = std::array<std::array<uint8_t, kBayerSize>, kBayerSize>;

// The ranks 0..63 of the recursive Bayer matrix: each doubling puts the four quarters of the
// smaller matrix in the order 0, 2, 3, 1.
constexpr BayerMatrix MakeBayer() {
    BayerMatrix m{};
    for (int size = 1; size < kBayerSize; size *= 2)
        for (int y = size - 1; y >= 0; --y)
            for (int x = size - 1; x >= 0; --x) {
                const uint8_t v = uint8_t(4 * m[y][x]);
                m[y][x] = v;
                m[y][x + size] = uint8_t(v + 2);
                m[y + size][x] = uint8_t(v + 3);
                m[y + size][x + size] = uint8_t(v + 1);
            }
    return m;
}
constexpr BayerMatrix kBayer = MakeBayer();

// For each threshold rank and component value, the value dithered between the two levels
// around it: the upper one when the value's distance past the lower, as a fraction of the
// gap, exceeds (rank + 1/2) / 64. A level itself always maps to itself.
using DitherTable = std::array<std::array<uint8_t, 256>, kThresholds>;

void FillDither(DitherTable& table, std::span<const uint8_t> levels) {
    for (int v = 0; v < 256; ++v) {
        const auto above = std::lower_bound(levels.begin(), levels.end(), v);
        const int hi = *above;
        const int lo = hi == v ? v : *(above - 1);
        for (int t = 0; t < kThresholds; ++t)
            table[t][v] =
                uint8_t(hi != lo && (v - lo) * 2 * kThresholds > (2 * t + 1) * (hi - lo) ? hi : lo);
    }
}

struct Tables {
    DitherTable cube;
    DitherTable grey;
    // The palette colours that dithering would change (those neither grey nor cube colours),
    // kept by a lookup instead. Bit 0, 1 and 2 of keptChannels[v] say whether v is the red,
    // green or blue of one of them, which rules nearly every pixel out before the lookup.
    std::vector<TPlatformColor> kept;
    std::array<uint8_t, 256> keptChannels{};

    Tables() {
        FillDither(cube, kCubeLevels);
        std::vector<uint8_t> greys;
        for (TPlatformColor c : HalftonePalette())
            if (IsGrey(c, 0)) greys.push_back(uint8_t(c));
        std::sort(greys.begin(), greys.end());
        FillDither(grey, greys);
        for (TPlatformColor c : HalftonePalette()) {
            bool changes = false;
            for (int t = 0; t < kThresholds; ++t)
                changes = changes || Dither(c, t) != c;
            if (!changes) continue;
            kept.push_back(c);
            keptChannels[c & 0xFF] |= 1;
            keptChannels[c >> 8 & 0xFF] |= 2;
            keptChannels[c >> 16 & 0xFF] |= 4;
        }
    }

    static bool IsGrey(TPlatformColor c, int tolerance) {
        const uint8_t r = uint8_t(c), g = uint8_t(c >> 8), b = uint8_t(c >> 16);
        return std::max({r, g, b}) - std::min({r, g, b}) <= tolerance;
    }

    TPlatformColor Dither(TPlatformColor c, int t) const {
        const uint8_t r = uint8_t(c), g = uint8_t(c >> 8), b = uint8_t(c >> 16);
        if (IsGrey(c, kGreyTolerance)) return TPlatformColor(grey[t][(r + g + b) / 3]) * 0x010101u;
        return PlatformColor(cube[t][r], cube[t][g], cube[t][b]);
    }

    bool Kept(TPlatformColor c) const {
        if (!(keptChannels[c & 0xFF] & (keptChannels[c >> 8 & 0xFF] >> 1) &
              (keptChannels[c >> 16 & 0xFF] >> 2)))
            return false;
        return std::find(kept.begin(), kept.end(), c) != kept.end();
    }
};

const Tables& TheTables() {
    static const Tables tables;
    return tables;
}
} // namespace

TPicture ReduceToHalftone(const TPicture& picture, int32_t originX, int32_t originY) {
    const Tables& tables = TheTables();
    TPicture out;
    out.Width = picture.Width;
    out.Height = picture.Height;
    out.Pixels.resize(picture.Pixels.size());
    for (int32_t y = 0; y < picture.Height; ++y) {
        const auto& bayerRow = kBayer[(uint32_t(y) + uint32_t(originY)) % kBayerSize];
        const TPlatformColor* src = picture.Pixels.data() + size_t(y) * size_t(picture.Width);
        TPlatformColor* dst = out.Pixels.data() + size_t(y) * size_t(picture.Width);
        for (int32_t x = 0; x < picture.Width; ++x) {
            const TPlatformColor c = src[x] & 0xFFFFFF;
            dst[x] =
                tables.Kept(c)
                    ? c
                    : tables.Dither(c, bayerRow[(uint32_t(x) + uint32_t(originX)) % kBayerSize]);
        }
    }
    return out;
}
