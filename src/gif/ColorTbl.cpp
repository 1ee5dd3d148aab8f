#include "ColorTbl.h"

#include "GifDecl.h"

#include <cstring>
#include <vector>

TColorRGB ColorToTriple(TPlatformColor color) {
    return TColorRGB{uint8_t(color), uint8_t(color >> 8), uint8_t(color >> 16)};
}

int FindColor(const TColorTable& table, TPlatformColor color) {
    const TColorRGB wanted = ColorToTriple(color);
    for (int i = 0; i < table.Count && i < 256; ++i)
        if (table.Colors[i] == wanted) return i;
    return -1;
}

void InitColorTable(TColorTable& table, uint16_t n) {
    static constexpr TColorRGB kSixteen[16] = {
        {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
        {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    table.Count = n;
    switch (n) {
    case 2:
        table.Colors[0] = {0, 0, 0};
        table.Colors[1] = {255, 255, 255};
        break;
    case 16:
        std::memcpy(table.Colors, kSixteen, sizeof kSixteen);
        break;
    case 256:
        for (int i = 0; i < 256; ++i) table.Colors[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
        break;
    default:
        break;
    }
}

namespace {

// Colour -> index lookup for at most 256 colours: an open-addressed table sixteen times
// larger than it can ever be filled, so nearly every lookup is one probe. Gives the same
// indices as a linear search of the table in order of first appearance.
class ColorIndexer {
public:
    explicit ColorIndexer(TColorTable& table) : table_(table) {}

    uint8_t IndexOf(uint32_t rgb) {
        const uint32_t key = rgb + 1; // 0 marks an empty slot
        uint32_t slot = (rgb * 0x9E3779B1u) >> (32 - kBits);
        while (keys_[slot] != key) {
            if (keys_[slot] == 0) return Insert(slot, key, rgb);
            slot = (slot + 1) & (kSlots - 1);
        }
        return values_[slot];
    }

private:
    static constexpr int kBits = 12;
    static constexpr uint32_t kSlots = 1u << kBits;

    uint8_t Insert(uint32_t slot, uint32_t key, uint32_t rgb) {
        if (table_.Count >= 256) throw EGifException(kMsgTooManyColors);
        const uint8_t index = uint8_t(table_.Count);
        table_.Colors[index] = ColorToTriple(rgb);
        ++table_.Count;
        keys_[slot] = key;
        values_[slot] = index;
        return index;
    }

    TColorTable& table_;
    std::vector<uint32_t> keys_ = std::vector<uint32_t>(kSlots, 0);
    std::vector<uint8_t> values_ = std::vector<uint8_t>(kSlots, 0);
};

int32_t RoundUpToGifTableSize(int32_t count) {
    if (count <= 2) return count;
    if (count <= 16) return 16;
    return 256;
}

} // namespace

TByteArray2D BitmapToIndexed(const TBitmapPixels& bitmap, TColorTable& table) {
    table.Count = 0;
    TByteArray2D indices(bitmap.Width, bitmap.Height);
    ColorIndexer indexer(table);
    for (int32_t y = 0; y < bitmap.Height; ++y) {
        const TPlatformColor* source = bitmap.Pixels + y * bitmap.Stride;
        uint8_t* target = indices.RowData(y + 1);
        for (int32_t x = 0; x < bitmap.Width; ++x) target[x] = indexer.IndexOf(source[x] & 0xFFFFFFu);
    }
    table.Count = RoundUpToGifTableSize(table.Count);
    return indices;
}

int32_t NextInterlacedRow(int32_t row, int32_t height, int& pass) {
    static constexpr int32_t kFirstRow[5] = {0, 0, 4, 2, 1}; // by pass, 1-based
    static constexpr int32_t kStep[5] = {0, 8, 8, 4, 2};
    if (pass >= 1 && pass <= 4 && row + kStep[pass] < height) return row + kStep[pass];
    while (pass < 4) {
        ++pass;
        if (kFirstRow[pass] < height) return kFirstRow[pass];
    }
    pass = 5; // every pass is done: no row of the image follows
    return height;
}

TBigByteArray FlattenPixels(const TByteArray2D& pixels, bool interlaced) {
    TBigByteArray flat(pixels.Bytes.Count);
    if (flat.Count == 0) return flat;
    if (!interlaced) {
        std::memcpy(flat.Data, pixels.Bytes.Data, size_t(flat.Count));
        return flat;
    }
    int pass = 1;
    int32_t row = 0;
    uint8_t* out = flat.Data;
    for (int32_t n = 0; n < pixels.YSize; ++n) {
        std::memcpy(out, pixels.RowData(row + 1), size_t(pixels.XSize));
        out += pixels.XSize;
        row = NextInterlacedRow(row, pixels.YSize, pass);
    }
    return flat;
}
