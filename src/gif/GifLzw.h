// The variable-width LZW code streams of GIF image data: the encoder's string table and
// bit packer, and the two directions of the codec over a pixel stream.
#pragma once

#include "DynArrB.h"
#include "GifDecl.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

// The encoder's string table. Codes below FirstFree are the roots, the clear code and the
// end code and are never stored. Find gives the same code as a linear scan of the assigned
// codes would (no string is ever added twice), through a hash of (prefix code, pixel).
class TCodeTable {
public:
    uint8_t CodeWidth = 0;
    bool Full = false;      // code 4095 has been assigned
    uint16_t FirstFree = 0; // first code after the clear and end codes
    uint16_t NextCode = 0;  // the code the next Add assigns

    void Reset(int codeWidth);

    // The code of the string `prefix` + `pixel` (-1 when absent) and, when absent, the slot
    // where adding that string would put it.
    struct Lookup {
        int code;
        uint32_t slot;
    };
    Lookup Find(uint16_t prefix, uint8_t pixel) const {
        const uint32_t key = Key(prefix, pixel);
        for (uint32_t slot = SlotOf(key);; slot = (slot + 1) & (kSlots - 1)) {
            const uint32_t entry = slots_[slot];
            if ((entry & kCodeMask) == 0) return {-1, slot};
            if ((entry >> kCodeBits) == key) return {int(entry & kCodeMask), slot};
        }
    }

    // Assigns NextCode to the string `prefix` + `pixel`. The width grows right after the
    // addition that assigns code 2^width; at 4096 the table is full and the width stays 12.
    // `repeatsLast`: the pixel equals the last pixel of the prefix's string.
    void Add(uint16_t prefix, uint8_t pixel, bool repeatsLast) {
        AddAt(Find(prefix, pixel).slot, prefix, pixel, repeatsLast);
    }
    // The same, at the slot a failed Find of that string gave, with no addition since.
    void AddAt(uint32_t slot, uint16_t prefix, uint8_t pixel, bool repeatsLast) {
        slots_[slot] = (Key(prefix, pixel) << kCodeBits) | NextCode;
        runs_[NextCode] = 0;
        if (repeatsLast) runs_[prefix] = NextCode;
        ++NextCode;
        if (NextCode == gif::kTableSize)
            Full = true;
        else if ((1u << CodeWidth) < NextCode)
            ++CodeWidth;
    }

    // The code of the string extended by its own last pixel once more, or 0 while there is
    // none: runs of one colour, the bulk of flat pictures, then need no hashing.
    uint16_t RunExtension(uint16_t code) const { return runs_[code]; }

private:
    // A slot packs the 20-bit key above the 12-bit code; code 0 (a root) marks it empty.
    static constexpr int kCodeBits = 12;
    static constexpr uint32_t kCodeMask = (1u << kCodeBits) - 1;
    static constexpr int kSlotBits = 14; // four times the codes, so probes stay short
    static constexpr uint32_t kSlots = 1u << kSlotBits;
    static uint32_t Key(uint16_t prefix, uint8_t pixel) { return (uint32_t(prefix) << 8) | pixel; }
    static uint32_t SlotOf(uint32_t key) { return (key * 0x9E3779B1u) >> (32 - kSlotBits); }

    uint32_t slots_[kSlots];
    uint16_t runs_[gif::kTableSize];
};

// Packs codes least significant bit first into bytes; the last byte is padded with zeros.
class TEncodedBytes {
public:
    explicit TEncodedBytes(size_t maxCodes); // room for that many codes of up to 12 bits

    void WriteCode(uint32_t code, int width) {
        bits_ |= uint64_t(code) << count_;
        count_ += unsigned(width);
        if (count_ >= 32) {
            std::memcpy(buffer_.data() + size_, &bits_, 4); // little-endian: oldest bits first
            size_ += 4;
            bits_ >>= 32;
            count_ -= 32;
        }
    }
    // Writes the end code, pads the last byte and hands the bytes over as sub-blocks.
    void Finish(uint32_t endCode, int width, TByteBuffer& output);

private:
    TByteVector buffer_;
    size_t size_ = 0;
    uint64_t bits_ = 0; // pending bits, the oldest lowest
    unsigned count_ = 0;
};

// Raises EGifException "Bad code Size" unless 2 <= codeSize <= 9.
void CheckCodeSize(int codeSize);

// Compresses `pixels` (every value below 2^codeSize) into `output`. An empty stream raises
// EIndexOutOfBounds; a pixel value too large for the code size raises EGifException.
void LzwEncode(std::span<const uint8_t> pixels, int codeSize, TByteBuffer& output);

// Decompresses `data` into the rows of `pixels`, top to bottom or in interlaced order.
// Data that ends before the end code leaves the rows not completed as they were; data after
// the image's last pixel is not read.
void LzwDecode(std::span<const uint8_t> data, int codeSize, bool interlaced, TByteArray2D& pixels);
