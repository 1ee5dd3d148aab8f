#include "BmpLayout.h"

#include <cstdlib>

namespace {
uint32_t U16(std::span<const uint8_t> b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}
uint32_t U32(std::span<const uint8_t> b, size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

// File header, 14 bytes: "BM", file size (4), reserved (4), offset of the pixel data (4).
// Then the info header, its size first (4): 12 bytes for the old core header with 16-bit
// width, height, planes and bits per pixel; 16 to 124 for the later ones with a 32-bit
// signed width and height (negative: top row first), planes (2), bits per pixel (2) and,
// from 20 bytes on, the compression (4).
constexpr size_t kFileHeader = 14;
constexpr uint32_t kCoreHeader = 12;
constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;

struct Declared {
    int64_t Width = 0, Height = 0;
    uint32_t BitsPerPixel = 0, Compression = kRgb;
};

bool ReadHeader(std::span<const uint8_t> file, Declared& d) {
    if (file.size() < kFileHeader + 4 || file[0] != 'B' || file[1] != 'M') return false;
    const uint32_t size = U32(file, kFileHeader);
    if (size < kCoreHeader || file.size() < kFileHeader + size) return false;
    if (size == kCoreHeader) {
        d.Width = U16(file, 18);
        d.Height = U16(file, 20);
        d.BitsPerPixel = U16(file, 24);
        return true;
    }
    if (size < 16) return false;
    d.Width = int32_t(U32(file, 18));
    d.Height = std::llabs(int32_t(U32(file, 22)));
    d.BitsPerPixel = U16(file, 28);
    if (size >= 20) d.Compression = U32(file, 30);
    return true;
}
} // namespace

bool BmpPixelsOutsideFile(std::span<const uint8_t> file) {
    Declared d;
    if (!ReadHeader(file, d)) return false;
    const uint64_t offset = U32(file, 10);
    if (offset >= file.size()) return true;
    const uint64_t available = file.size() - offset;
    const bool rows = d.Compression == kRgb || d.Compression == kBitFields ||
                      d.Compression == kAlphaBitFields;
    if (!rows || d.Width <= 0 || d.Height == 0 || d.BitsPerPixel == 0) {
        // Run-length data has no fixed length, and a header without pixels is the reader's
        // to refuse.
        return false;
    }
    // Rows are padded to 4 bytes; the last one may come without its padding.
    const uint64_t rowBits = uint64_t(d.Width) * d.BitsPerPixel;
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    const uint64_t lastRow = (rowBits + 7) / 8;
    return lastRow > available || uint64_t(d.Height - 1) > (available - lastRow) / stride;
}
