// Colour tables, the reduction of a bitmap of at most 256 colours to a table and indices,
// and the natural or interlaced row order of the pixel stream.
#pragma once

#include "DynArrB.h"

#include <cstddef>
#include <cstdint>

// One colour table entry, in the byte order of a GIF colour table.
struct TColorRGB {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    bool operator==(const TColorRGB&) const = default;
};

struct TColorTable {
    TColorRGB Colors[256]{};
    int32_t Count = 0; // entries in use; a GIF built from the table takes its size from it
};

// A platform colour value: red in bits 0-7, green in 8-15, blue in 16-23; bits 24-31 ignored.
using TPlatformColor = uint32_t;

// A bitmap as the codec sees it: Height rows of Width platform colour values, the top row
// first, Stride values from the start of one row to the next.
struct TBitmapPixels {
    int32_t Width = 0;
    int32_t Height = 0;
    const TPlatformColor* Pixels = nullptr;
    ptrdiff_t Stride = 0;
};

TColorRGB ColorToTriple(TPlatformColor color);

// Index of the first of the table's Count entries equal to the colour, or -1.
int FindColor(const TColorTable& table, TPlatformColor color);

// Sets Count to n and, for 2, 16 and 256, fills the standard black/white, 16-colour or
// grey-ramp table; other counts leave the entries as they are.
void InitColorTable(TColorTable& table, uint16_t n);

// Gives each distinct colour an index in order of first appearance (rows top to bottom,
// left to right), then raises Count to a GIF table size (<=2 kept, 3-16 -> 16, 17-256 -> 256).
// Entries past the colours found keep what the caller's table held.
// A bitmap of more than 256 colours raises EGifException.
TByteArray2D BitmapToIndexed(const TBitmapPixels& bitmap, TColorTable& table);

// The matrix's rows one after the other, top to bottom or in GIF interlaced order.
TBigByteArray FlattenPixels(const TByteArray2D& pixels, bool interlaced);

// The row after `row` (0-based) in GIF interlaced order; pass (1 to 4) advances as the
// passes run out. After the last row of the last pass the result is at least `height`.
int32_t NextInterlacedRow(int32_t row, int32_t height, int& pass);
