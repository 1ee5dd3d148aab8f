#include "NearestColour.h"

#include "Rgb.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>

NearestColour::NearestColour(std::span<const TPlatformColor> palette) : all_(palette.size()) {
    for (TPlatformColor c : palette)
        palette_.push_back({Red(c), Green(c), Blue(c)});
    std::iota(all_.begin(), all_.end(), uint8_t(0));
    for (size_t level = 0; level + 1 < kLevels; ++level) {
        outerStart_[level].assign(1u << (3 * kBits[level]), 0);
        outerCount_[level].assign(1u << (3 * kBits[level]), 0);
    }
    fineStart_.assign(1u << (3 * kBits[kLevels - 1]), 0);
    fineCount_.assign(1u << (3 * kBits[kLevels - 1]), 0);
}

uint8_t NearestColour::Search(int r, int g, int b) {
    const uint32_t cell = CellOf(kLevels - 1, r, g, b);
    if (fineCount_[cell] == 0) BuildFine(cell, r, g, b);
    const Candidate* c = fine_.data() + fineStart_[cell];
    const Candidate* end = c + fineCount_[cell];
    uint8_t best = c->index;
    int bestDistance = c->Distance(r, g, b);
    for (++c; c < end && c->bound <= bestDistance; ++c) {
        const int d = c->Distance(r, g, b);
        if (d < bestDistance) {
            bestDistance = d;
            best = c->index;
        }
    }
    return best;
}

std::vector<uint8_t> NearestColour::Candidates(std::span<const uint8_t> from, const Rgb& lo,
                                               int size) const {
    const Rgb hi{lo.r + size - 1, lo.g + size - 1, lo.b + size - 1};
    // No colour of the cell is farther from its nearest palette colour than `limit`...
    int limit = INT_MAX;
    for (uint8_t i : from) {
        const Rgb& p = palette_[i];
        const int r = std::max(p.r - lo.r, hi.r - p.r), g = std::max(p.g - lo.g, hi.g - p.g),
                  b = std::max(p.b - lo.b, hi.b - p.b);
        limit = std::min(limit, r * r + g * g + b * b);
    }
    // ...so a palette colour farther than that from the whole cell is never the nearest.
    std::vector<uint8_t> list;
    for (uint8_t i : from) {
        const Rgb& p = palette_[i];
        const int r = std::max({lo.r - p.r, p.r - hi.r, 0}),
                  g = std::max({lo.g - p.g, p.g - hi.g, 0}),
                  b = std::max({lo.b - p.b, p.b - hi.b, 0});
        if (r * r + g * g + b * b <= limit) list.push_back(i);
    }
    return list;
}

std::span<const uint8_t> NearestColour::Outer(int level, int r, int g, int b) {
    const uint32_t cell = CellOf(level, r, g, b);
    const size_t l = size_t(level);
    if (outerCount_[l][cell] == 0) {
        const int shift = 8 - kBits[l];
        const std::vector<uint8_t> list =
            Candidates(level == 0 ? std::span<const uint8_t>(all_) : Outer(level - 1, r, g, b),
                       {r >> shift << shift, g >> shift << shift, b >> shift << shift}, 1 << shift);
        outerStart_[l][cell] = uint32_t(outer_.size());
        outerCount_[l][cell] = uint16_t(list.size());
        outer_.insert(outer_.end(), list.begin(), list.end());
    }
    return {outer_.data() + outerStart_[l][cell], outerCount_[l][cell]};
}

void NearestColour::BuildFine(uint32_t cell, int r, int g, int b) {
    constexpr int shift = 8 - kBits[kLevels - 1], size = 1 << shift;
    const Rgb lo{r >> shift << shift, g >> shift << shift, b >> shift << shift};
    const std::vector<uint8_t> list = Candidates(Outer(kLevels - 2, r, g, b), lo, size);
    // Nearest to the centre first. No colour of the cell is nearer to a candidate than the
    // candidate's distance to the centre less the half-diagonal of the cell.
    const double halfDiagonal = std::sqrt(3.0) * (size - 1) / 2;
    std::vector<std::pair<double, uint8_t>> byCentre;
    for (uint8_t i : list) {
        const Rgb& p = palette_[i];
        const double dr = p.r - lo.r - (size - 1) / 2.0, dg = p.g - lo.g - (size - 1) / 2.0,
                     db = p.b - lo.b - (size - 1) / 2.0;
        byCentre.emplace_back(std::sqrt(dr * dr + dg * dg + db * db), i);
    }
    std::sort(byCentre.begin(), byCentre.end());
    fineStart_[cell] = uint32_t(fine_.size());
    fineCount_[cell] = uint16_t(byCentre.size());
    for (const auto& [distance, i] : byCentre) {
        const double gap = std::max(0.0, distance - halfDiagonal);
        const Rgb& p = palette_[i];
        fine_.push_back({int16_t(p.r), int16_t(p.g), int16_t(p.b), i, int(std::floor(gap * gap))});
    }
}
