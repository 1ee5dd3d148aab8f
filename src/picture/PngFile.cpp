#include "PngFile.h"

#include "AtomicFile.h"

#include <stdexcept>
#include <zlib.h>

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t kColourTypeRgb = 2;
// Each row starts with its filter; "Sub" stores each byte as the difference from the same
// byte of the pixel to its left, which turns flat areas into runs of zeros.
constexpr uint8_t kFilterSub = 1;

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

//   length (4 bytes, big-endian, of the data alone) | type (4 letters) | data |
//   CRC-32 of type and data (4 bytes, big-endian)
void PutChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data) {
    PutBigEndian32(out, uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + typeAt, uInt(4 + data.size()));
    PutBigEndian32(out, uint32_t(crc));
}

//   width (4) | height (4) | bit depth 8 | colour type 2 (RGB) | compression 0 (deflate) |
//   filter method 0 | interlace 0 (none)
std::vector<uint8_t> HeaderData(const TRgbImage& image) {
    std::vector<uint8_t> data;
    PutBigEndian32(data, uint32_t(image.Width));
    PutBigEndian32(data, uint32_t(image.Height));
    data.insert(data.end(), {8, kColourTypeRgb, 0, 0, 0});
    return data;
}

std::vector<uint8_t> FilteredRows(const TRgbImage& image) {
    const size_t stride = image.Stride();
    std::vector<uint8_t> rows((stride + 1) * size_t(image.Height));
    uint8_t* to = rows.data();
    for (int32_t y = 0; y < image.Height; ++y) {
        const uint8_t* row = image.Pixel(0, y);
        *to++ = kFilterSub;
        for (size_t i = 0; i < stride; ++i)
            *to++ = uint8_t(row[i] - (i >= kRgbBytes ? row[i - kRgbBytes] : 0));
    }
    return rows;
}

// The zlib stream of the filtered rows, all of it in one IDAT chunk.
std::vector<uint8_t> Compressed(const std::vector<uint8_t>& rows) {
    uLongf size = compressBound(uLong(rows.size()));
    std::vector<uint8_t> data(size);
    if (compress2(data.data(), &size, rows.data(), uLong(rows.size()), Z_BEST_SPEED) != Z_OK)
        throw std::bad_alloc();
    data.resize(size);
    return data;
}

} // namespace

std::vector<uint8_t> PngBytes(const TRgbImage& image) {
    std::vector<uint8_t> png(std::begin(kSignature), std::end(kSignature));
    PutChunk(png, "IHDR", HeaderData(image));
    PutChunk(png, "IDAT", Compressed(FilteredRows(image)));
    PutChunk(png, "IEND", {});
    return png;
}

void WritePng(const std::string& path, const TRgbImage& image) {
    WriteFileAtomically(path, PngBytes(image), TNaming::AtOnce);
}
