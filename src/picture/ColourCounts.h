// How many pixels a picture has of each colour.
#pragma once

#include "ColorTbl.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// Pixel counts by colour in an open-addressed table that doubles as it fills; the top byte of
// a pixel is ignored.
class ColourCounts {
  public:
    void Add(TPlatformColor colour, uint32_t pixels = 1);
    bool Contains(TPlatformColor colour) const;
    size_t Size() const { return size_; }
    // (colour, pixels) of every colour, in ascending order of colour.
    std::vector<std::pair<TPlatformColor, uint32_t>> Sorted() const;

  private:
    size_t Slot(uint32_t key) const;
    void Grow();

    // A key is the colour plus one, so 0 marks an empty slot.
    std::vector<uint32_t> keys_ = std::vector<uint32_t>(64, 0);
    std::vector<uint32_t> counts_ = std::vector<uint32_t>(64, 0);
    size_t size_ = 0;
};

// The distinct colours of the pixels, ascending, or nothing when there are more than `limit`:
// a photograph stops the count early.
std::optional<std::vector<TPlatformColor>> DistinctColours(std::span<const TPlatformColor> pixels,
                                                           size_t limit);
