// The nearest colour of a palette to any colour, exactly and fast.
#pragma once

#include "ColorTbl.h"
#include "Rgb.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The colour cube is cut into cells of 8 x 8 x 8 colours. The first look-up in a cell lists the
// palette colours that can be nearest to some colour of the cell: those no farther from the
// cell than the farthest point of the cell is from the best of them. Every later look-up
// compares only those few, nearest to the cell's centre first, and stops at the first that is
// too far from the centre to beat the best found. A cell's list is drawn from the list of a
// larger cell around it, a superset, and so on up to cells of 32 x 32 x 32 colours drawn from
// the whole palette, so building a list compares few colours too.
class NearestColour {
  public:
    // At most 256 colours, at least one.
    explicit NearestColour(std::span<const TPlatformColor> palette);

    // The index of a palette colour nearest to (r, g, b) in squared distance; components are
    // 0 to 255. Of several as near, always the same one.
    uint8_t Find(int r, int g, int b) {
        // Smooth pictures ask for the same colours again and again: the last answers are kept
        // in a direct-mapped cache.
        const uint32_t key = uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | 1u << 24;
        Answer& answer = cache_[(key * 0x9E3779B1u) >> (32 - kCacheBits)];
        if (answer.key != key) answer = {key, Search(r, g, b)};
        return answer.index;
    }

  private:
    // Cells of 32, 16 and 8 colours a side (3, 4 and 5 bits of each component).
    static constexpr int kLevels = 3;
    static constexpr std::array<int, kLevels> kBits = {3, 4, 5};

    static uint32_t CellOf(int level, int r, int g, int b) {
        const int bits = kBits[size_t(level)], shift = 8 - bits;
        return uint32_t(r >> shift) << (2 * bits) | uint32_t(g >> shift) << bits |
               uint32_t(b >> shift);
    }

    struct Rgb {
        int r, g, b;
    };
    // A colour of a cell's list, with a lower bound of its squared distance to any colour of
    // the cell.
    struct Candidate {
        int16_t r, g, b;
        uint8_t index;
        int bound;
        int Distance(int r2, int g2, int b2) const { return SquaredDistance(r, g, b, r2, g2, b2); }
    };

    uint8_t Search(int r, int g, int b);
    // The indices of the palette colours that can be nearest in the cell around (r, g, b) of
    // the given outer level, built first if need be.
    std::span<const uint8_t> Outer(int level, int r, int g, int b);
    // The candidates among `from` for the cell from lo to lo + size - 1 in each component.
    std::vector<uint8_t> Candidates(std::span<const uint8_t> from, const Rgb& lo, int size) const;
    void BuildFine(uint32_t cell, int r, int g, int b);

    static constexpr int kCacheBits = 15;
    struct Answer {
        uint32_t key = 0; // the colour with bit 24 set, 0 for none
        uint8_t index = 0;
    };
    std::vector<Answer> cache_ = std::vector<Answer>(1u << kCacheBits);
    std::vector<Rgb> palette_;
    std::vector<uint8_t> all_;
    // The outer levels' lists, one after the other; by level, where each cell's list starts and
    // how long it is (0 until it is built).
    std::vector<uint8_t> outer_;
    std::array<std::vector<uint32_t>, kLevels - 1> outerStart_;
    std::array<std::vector<uint16_t>, kLevels - 1> outerCount_;
    // The same for the finest level, whose lists hold the colours themselves.
    std::vector<Candidate> fine_;
    std::vector<uint32_t> fineStart_;
    std::vector<uint16_t> fineCount_;
};
