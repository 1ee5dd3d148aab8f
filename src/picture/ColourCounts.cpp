#include "ColourCounts.h"

#include <algorithm>

namespace {
constexpr TPlatformColor kRgb = 0xFFFFFF;
}

size_t ColourCounts::Slot(uint32_t key) const {
    const size_t mask = keys_.size() - 1;
    size_t slot = (key * 0x9E3779B1u) & mask;
    while (keys_[slot] != 0 && keys_[slot] != key)
        slot = (slot + 1) & mask;
    return slot;
}

void ColourCounts::Add(TPlatformColor colour, uint32_t pixels) {
    const uint32_t key = (colour & kRgb) + 1;
    size_t slot = Slot(key);
    if (keys_[slot] == 0) {
        // At most a quarter full, so nearly every look-up takes one probe.
        if (4 * (size_ + 1) > keys_.size()) {
            Grow();
            slot = Slot(key);
        }
        keys_[slot] = key;
        ++size_;
    }
    counts_[slot] += pixels;
}

bool ColourCounts::Contains(TPlatformColor colour) const {
    return keys_[Slot((colour & kRgb) + 1)] != 0;
}

void ColourCounts::Grow() {
    std::vector<uint32_t> keys(keys_.size() * 2, 0), counts(keys_.size() * 2, 0);
    keys.swap(keys_);
    counts.swap(counts_);
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i] != 0) {
            const size_t slot = Slot(keys[i]);
            keys_[slot] = keys[i];
            counts_[slot] = counts[i];
        }
}

std::vector<std::pair<TPlatformColor, uint32_t>> ColourCounts::Sorted() const {
    std::vector<std::pair<TPlatformColor, uint32_t>> entries;
    entries.reserve(size_);
    for (size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] != 0) entries.emplace_back(keys_[i] - 1, counts_[i]);
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::optional<std::vector<TPlatformColor>> DistinctColours(std::span<const TPlatformColor> pixels,
                                                           size_t limit) {
    ColourCounts counts;
    // Runs of one colour are common in drawn pictures; they cost one comparison a pixel.
    for (size_t i = 0; i < pixels.size();) {
        const TPlatformColor colour = pixels[i] & kRgb;
        uint32_t run = 1;
        while (i + run < pixels.size() && (pixels[i + run] & kRgb) == colour)
            ++run;
        counts.Add(colour, run);
        if (counts.Size() > limit) return std::nullopt;
        i += run;
    }
    std::vector<TPlatformColor> colours;
    for (const auto& entry : counts.Sorted())
        colours.push_back(entry.first);
    return colours;
}
