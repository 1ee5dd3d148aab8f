#include "FileSizeLimit.h"
#include "GifTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <unistd.h>

using namespace giftest;
namespace fs = std::filesystem;

namespace {

TByteArray2D Zeros(int w, int h) { return TByteArray2D(w, h); }

std::vector<uint8_t> SaveOne(const TColorTable& map, const TByteArray2D& pixels) {
    TGifFile gif;
    gif.AddImage(map, pixels);
    return gif.SaveToMemory();
}

TEST(GifWriter, TheSmallestWholeFile) {
    TColorTable bw;
    InitColorTable(bw, 2);
    const std::vector<uint8_t> expected{
        0x47, 0x49, 0x46, 0x38, 0x37, 0x61,       // "GIF87a"
        0x02, 0x00, 0x02, 0x00, 0x80, 0x00, 0x00, // 2 x 2 screen, global table of 2, bg 0, aspect 0
        0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF,       // black, white
        0x2C, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00, // image at 0,0, 2 x 2, flags 0
        0x02,                                     // code size
        0x02, 0x84, 0x51,                         // one block: codes 4 0 6 0 5
        0x00,                                     // block terminator
        0x3B};                                    // trailer
    EXPECT_EQ(SaveOne(bw, Zeros(2, 2)), expected);
}

TEST(GifWriter, FlagsTablesAndCodeSizesFollowTheColourCount) {
    struct Case { int colors; uint8_t flags; size_t tableBytes; uint8_t codeSize; };
    for (const Case& c : {Case{1, 0x80, 6, 2}, Case{2, 0x80, 6, 2}, Case{16, 0xB3, 48, 4}, Case{256, 0xF7, 768, 8}}) {
        const TColorTable map = MakeColorMap(c.colors);
        const auto file = SaveOne(map, MakePicture(320, 200, c.colors, "photo"));
        EXPECT_EQ(file[10], c.flags) << c.colors << " colours";
        EXPECT_EQ(file[13 + c.tableBytes], 0x2C) << "table of " << c.tableBytes << " bytes";
        EXPECT_EQ(file[13 + 0], map.Colors[0].Red);
        EXPECT_EQ(file[13 + c.tableBytes - 1], map.Colors[c.tableBytes / 3 - 1].Blue)
            << "slots past a count of 1 are written as they stand";
        EXPECT_EQ(file[13 + c.tableBytes + 10], c.codeSize);
        EXPECT_EQ(file.back(), 0x3B);
    }
    const auto big = SaveOne(MakeColorMap(256), MakePicture(320, 200, 256, "flat"));
    const std::vector<uint8_t> screen{0x47, 0x49, 0x46, 0x38, 0x37, 0x61, 0x40, 0x01, 0xC8, 0x00, 0xF7, 0x00, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(big.begin(), big.begin() + 13), screen);
    const std::vector<uint8_t> descriptor{0x2C, 0, 0, 0, 0, 0x40, 0x01, 0xC8, 0x00, 0x00, 0x08};
    EXPECT_EQ(std::vector<uint8_t>(big.begin() + 13 + 768, big.begin() + 13 + 768 + 11), descriptor);
}

TEST(GifWriter, ColourCountErrors) {
    for (int colors : {4, 8}) {
        TGifFile gif;
        try {
            gif.AddImage(MakeColorMap(colors), Zeros(2, 2));
            ADD_FAILURE();
        } catch (const EGifException& e) {
            EXPECT_STREQ(e.what(), "unexpected number of colors");
        }
        EXPECT_EQ(gif.Images.size(), 1u) << "the image is appended before the screen flags fail";
        EXPECT_THROW(gif.SaveToMemory(), EGifException);
    }
    for (int colors : {3, 0, 257}) {
        TGifFile gif;
        try {
            gif.AddImage(MakeColorMap(colors), Zeros(2, 2));
            ADD_FAILURE();
        } catch (const EGifException& e) {
            EXPECT_EQ(e.what(), "Number of colors (" + std::to_string(colors) + ") wrong; must be a power of 2");
        }
        EXPECT_TRUE(gif.Images.empty());
        EXPECT_EQ(gif.GlobalColors.Count, 2) << "a refused image changes nothing";
    }
}

TEST(GifWriter, SecondImageCarriesItsOwnTable) {
    TGifFile gif;
    gif.AddImage(MakeColorMap(16), MakePicture(10, 30, 16, "flat"));
    TColorTable second = MakeColorMap(2);
    second.Colors[0] = {1, 2, 3};
    gif.AddImage(second, MakePicture(40, 5, 2, "random"));
    EXPECT_EQ(gif.ScreenWidth, 40);
    EXPECT_EQ(gif.ScreenHeight, 30);
    EXPECT_EQ(gif.BitsPerPixel, 4);
    EXPECT_EQ(gif.GlobalColors.Count, 16);
    EXPECT_EQ(gif.Images[1]->ImageFlags, 0x80);
    EXPECT_EQ(gif.Images[0]->ImageFlags, 0x00);

    const auto bytes = gif.SaveToMemory();
    EXPECT_EQ(bytes, gif.SaveToMemory()) << "saving twice gives the same bytes";
    TGifFile back;
    back.LoadFromMemory(bytes);
    ASSERT_EQ(back.Images.size(), 2u);
    EXPECT_TRUE(back.Images[1]->HasLocalColors);
    EXPECT_EQ(back.Images[1]->LocalColors.Colors[0], (TColorRGB{1, 2, 3}));
    EXPECT_EQ(ToVector(back.Images[1]->Pixels), ToVector(gif.Images[1]->Pixels));
}

TEST(GifWriter, ModelWithoutImage) {
    TGifFile gif;
    const std::vector<uint8_t> expected{0x47, 0x49, 0x46, 0x38, 0x37, 0x61, 0, 0, 0, 0, 0x80, 0, 0,
                                        0, 0, 0, 255, 255, 255, 0x3B};
    EXPECT_EQ(gif.SaveToMemory(), expected);
}

TEST(GifWriter, FailedSavesLeaveTheOldFile) {
    const fs::path dir = fs::temp_directory_path() / ("velmora-gif-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "picture.gif").string();

    TColorTable bw;
    InitColorTable(bw, 2);
    TGifFile good;
    good.AddImage(bw, Zeros(2, 2));
    good.SaveToFile(path);
    const auto before = ReadFile(path);
    EXPECT_EQ(before.size(), 35u);

    TGifFile empty;
    empty.AddImage(bw, Zeros(0, 3));
    EXPECT_THROW(empty.SaveToFile(path), EIndexOutOfBounds) << "an image without pixels cannot be compressed";
    TGifFile outOfRange;
    TByteArray2D pixels(2, 1);
    pixels.Set(2, 1, 9);
    outOfRange.AddImage(bw, pixels);
    EXPECT_THROW(outOfRange.SaveToFile(path), EGifException);
    EXPECT_EQ(ReadFile(path), before);
    TGifFile larger;
    larger.AddImage(bw, Zeros(64, 64));
    {
        const FileSizeLimit full(20); // the disk fills up in the middle of the file
        EXPECT_THROW(larger.SaveToFile(path), EInOutError);
    }
    EXPECT_EQ(ReadFile(path), before);

    try {
        good.SaveToFile((dir / "no-such-folder" / "x.gif").string());
        ADD_FAILURE();
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Path not found");
    }
    fs::remove_all(dir);
}

TEST(GifWriter, HooksAreCalledAroundWork) {
    static int busy, restored;
    busy = restored = 0;
    const TGifHooks saved = std::exchange(
        GifHooks, {.ShowBusyCursor = [] { ++busy; }, .RestoreCursor = [] { ++restored; }});
    TGifFile gif;
    EXPECT_THROW(gif.LoadFromMemory(std::vector<uint8_t>{'G', 'I', 'F'}), EInOutError);
    gif.SaveToMemory();
    GifHooks = saved;
    EXPECT_EQ(busy, 2);
    EXPECT_EQ(restored, 2) << "the cursor is restored when the work fails too";
}

} // namespace
