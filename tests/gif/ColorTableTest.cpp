#include "ColorTbl.h"
#include "GifDecl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Platform colour value from red, green, blue.
constexpr TPlatformColor Rgb(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (b << 16); }

struct Picture {
    int32_t width, height;
    std::vector<TPlatformColor> pixels;
    TBitmapPixels View() const { return {width, height, pixels.data(), width}; }
};

Picture WithColors(int colors, int32_t width, int32_t height) {
    Picture p{width, height, {}};
    for (int32_t i = 0; i < width * height; ++i) p.pixels.push_back(Rgb(uint8_t(i % colors), 7, 9));
    return p;
}

TEST(ColorTable, TripleTakesRedFromTheLowBits) {
    EXPECT_EQ(ColorToTriple(0xFF0000), (TColorRGB{0, 0, 255}));
    EXPECT_EQ(ColorToTriple(0x0000FF), (TColorRGB{255, 0, 0}));
    EXPECT_EQ(ColorToTriple(0x80123456), (TColorRGB{0x56, 0x34, 0x12}));
}

TEST(ColorTable, StandardTables) {
    TColorTable t;
    InitColorTable(t, 2);
    EXPECT_EQ(t.Count, 2);
    EXPECT_EQ(t.Colors[1], (TColorRGB{255, 255, 255}));
    InitColorTable(t, 256);
    EXPECT_EQ(t.Colors[200], (TColorRGB{200, 200, 200}));
    InitColorTable(t, 16);
    EXPECT_EQ(t.Colors[8], (TColorRGB{192, 192, 192}));
    EXPECT_EQ(t.Colors[9], (TColorRGB{255, 0, 0}));
    EXPECT_EQ(t.Colors[200], (TColorRGB{200, 200, 200})) << "16 entries replace only the first 16";
    InitColorTable(t, 4);
    EXPECT_EQ(t.Count, 4);
    EXPECT_EQ(t.Colors[1], (TColorRGB{128, 0, 0})) << "other counts leave the entries";
    EXPECT_EQ(FindColor(t, Rgb(128, 0, 0)), 1);
    EXPECT_EQ(FindColor(t, Rgb(200, 200, 200)), -1) << "only the first Count entries are searched";
}

TEST(BitmapToIndexed, IndicesFollowFirstAppearance) {
    Picture p{3, 2, {Rgb(9, 9, 9), Rgb(1, 1, 1), Rgb(9, 9, 9), Rgb(1, 1, 1), Rgb(5, 5, 5), Rgb(9, 9, 9)}};
    TColorTable table;
    TByteArray2D m = BitmapToIndexed(p.View(), table);
    EXPECT_EQ(table.Count, 16) << "3 colours round up to 16";
    EXPECT_EQ(table.Colors[0], (TColorRGB{9, 9, 9}));
    EXPECT_EQ(table.Colors[2], (TColorRGB{5, 5, 5}));
    const std::vector<uint8_t> expected{0, 1, 0, 1, 2, 0};
    EXPECT_EQ(std::vector<uint8_t>(m.Bytes.Data, m.Bytes.Data + 6), expected);
}

TEST(BitmapToIndexed, CountRoundsToGifTableSizes) {
    const std::pair<int, int> cases[] = {{1, 1}, {2, 2}, {3, 16}, {16, 16}, {17, 256}, {255, 256}, {256, 256}};
    for (auto [colors, expectedCount] : cases) {
        TColorTable table;
        const Picture p = WithColors(colors, 300, 2);
        TByteArray2D m = BitmapToIndexed(p.View(), table);
        EXPECT_EQ(table.Count, expectedCount) << colors << " colours";
        EXPECT_EQ(m.Get(300, 2), uint8_t((599) % colors));
    }
}

TEST(BitmapToIndexed, IgnoresTheTopByteAndHonoursStride) {
    // Two rows of 2 pixels inside rows of 3 values; the third value must not be read.
    std::vector<TPlatformColor> pixels{Rgb(1, 2, 3), 0xFF000000 | Rgb(1, 2, 3), Rgb(50, 50, 50),
                                       Rgb(4, 5, 6), Rgb(1, 2, 3), Rgb(60, 60, 60)};
    TColorTable table;
    TByteArray2D m = BitmapToIndexed({2, 2, pixels.data(), 3}, table);
    EXPECT_EQ(table.Count, 2);
    EXPECT_EQ(m.Get(2, 1), 0);
    EXPECT_EQ(m.Get(1, 2), 1);
    EXPECT_EQ(m.Get(2, 2), 0);
}

TEST(BitmapToIndexed, EmptyAndOverfullBitmaps) {
    TColorTable table;
    table.Count = 99;
    TByteArray2D m = BitmapToIndexed({0, 0, nullptr, 0}, table);
    EXPECT_EQ(table.Count, 0);
    EXPECT_EQ(m.Bytes.Count, 0);

    Picture tooMany{257, 1, {}};
    for (int i = 0; i < 257; ++i) tooMany.pixels.push_back(Rgb(uint8_t(i), uint8_t(i >> 8), 0));
    try {
        BitmapToIndexed(tooMany.View(), table);
        FAIL() << "257 colours cannot be indexed";
    } catch (const EGifException& e) {
        EXPECT_STREQ(e.what(), "Bitmap has more than 256 colors");
    }
}

TEST(BitmapToIndexed, AgreesWithLinearSearchOnManyColours) {
    // 256 colours that differ only in blue, visited in a scrambled order.
    Picture p{64, 64, {}};
    for (int i = 0; i < 64 * 64; ++i) p.pixels.push_back(TPlatformColor(i * 97 % 256) << 16);
    TColorTable table;
    TByteArray2D m = BitmapToIndexed(p.View(), table);
    for (int i = 0; i < 64 * 64; ++i)
        ASSERT_EQ(m.Bytes.Data[i], FindColor(table, p.pixels[size_t(i)])) << "pixel " << i;
}

TEST(InterlacedOrder, RowOrdersForSmallHeights) {
    const std::vector<std::vector<int>> expected{
        {0},
        {0, 1},
        {0, 2, 1},
        {0, 2, 1, 3},
        {0, 4, 2, 1, 3},
        {0, 4, 2, 1, 3, 5},
        {0, 4, 2, 6, 1, 3, 5},
        {0, 4, 2, 6, 1, 3, 5, 7},
        {0, 8, 4, 2, 6, 1, 3, 5, 7},
        {0, 8, 4, 2, 6, 1, 3, 5, 7, 9},
    };
    for (int height = 1; height <= 10; ++height) {
        std::vector<int> order{0};
        int pass = 1, row = 0;
        for (int i = 1; i < height; ++i) order.push_back(row = NextInterlacedRow(row, height, pass));
        EXPECT_EQ(order, expected[size_t(height) - 1]) << "height " << height;
        EXPECT_GE(NextInterlacedRow(row, height, pass), height) << "nothing follows the last row";
    }
}

TEST(FlattenPixels, NaturalAndInterlacedLayouts) {
    TByteArray2D m(2, 10);
    for (int y = 1; y <= 10; ++y) m.Set(1, y, uint8_t(y - 1)), m.Set(2, y, uint8_t(100 + y - 1));
    TBigByteArray natural = FlattenPixels(m, false);
    TBigByteArray interlaced = FlattenPixels(m, true);
    const int order[] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(natural.Data[2 * i], i);
        EXPECT_EQ(interlaced.Data[2 * i], order[i]);
        EXPECT_EQ(interlaced.Data[2 * i + 1], 100 + order[i]);
    }
    TByteArray2D single(3, 1);
    single.Set(2, 1, 4);
    EXPECT_EQ(FlattenPixels(single, true).Data[1], 4) << "one row: both orders agree";
}

} // namespace
