#include "BoundedRun.h"
#include "GifTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <utility>

using namespace giftest;

namespace {

// A 2 x 2 picture: pixels 0 1 / 1 0, written by our writer.
std::vector<uint8_t> Checker() {
    TColorTable bw;
    InitColorTable(bw, 2);
    TByteArray2D m(2, 2);
    m.Set(2, 1, 1);
    m.Set(1, 2, 1);
    TGifFile gif;
    gif.AddImage(bw, m);
    return gif.SaveToMemory();
}

std::string LoadError(const std::vector<uint8_t>& bytes) {
    TGifFile gif;
    try {
        gif.LoadFromMemory(bytes);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

// Inserts bytes right before the image separator of a Checker file.
std::vector<uint8_t> WithBlocksBeforeImage(const std::vector<uint8_t>& blocks) {
    auto f = Checker();
    f.insert(f.begin() + 19, blocks.begin(), blocks.end());
    return f;
}

TEST(GifReader, VersionsAndSignature) {
    for (const char* v : {"87a", "89a", "87A", "89A"}) {
        auto f = Checker();
        std::copy(v, v + 3, f.begin() + 3);
        EXPECT_EQ(LoadError(f), "") << v;
    }
    auto f = Checker();
    f[4] = '8';
    EXPECT_EQ(LoadError(f), "Gif Version must be 87a or 89a");
    f = Checker();
    std::copy_n("XYZ", 3, f.begin());
    EXPECT_EQ(LoadError(f), "") << "the signature is not examined";
}

TEST(GifReader, ExtensionsStayWithTheirImageAndUnknownKindsAreReadPast) {
    const std::vector<uint8_t> blocks{
        0x21, 0xF9, 0x04, 0x05, 0x0A, 0x00, 0x01, 0x00,                       // graphic control
        0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', // application
        0x03, 0x01, 0x00, 0x00, 0x00,                                           // loop forever
        0x21, 0x99, 0x02, 0x3B, 0x2C, 0x00, 0x21, 0x2C, 0x00,                   // unknown kinds
        0x21, 0xFE, 0x02, 'h', 'i', 0x01, '!', 0x00};                           // comment
    auto f = WithBlocksBeforeImage(blocks);
    std::copy_n("89a", 3, f.begin() + 3);
    TGifFile gif;
    gif.LoadFromMemory(f);
    ASSERT_EQ(gif.Images.size(), 1u);
    const auto& ext = gif.Images[0]->Extensions;
    ASSERT_EQ(ext.size(), 3u);
    EXPECT_EQ(ext[0].Kind, TExtension::GraphicControl);
    EXPECT_EQ(ext[0].Header, (std::vector<uint8_t>{0x04, 0x05, 0x0A, 0x00, 0x01, 0x00}));
    EXPECT_EQ(ext[1].Kind, TExtension::Application);
    EXPECT_EQ(ext[1].Header.size(), 12u);
    EXPECT_EQ(ext[1].SubBlocks.BlockCount(), 1);
    EXPECT_EQ(ext[2].Kind, TExtension::Comment);
    EXPECT_EQ(ext[2].SubBlocks.BlockCount(), 2);
    EXPECT_EQ(ext[2].SubBlocks.GetBlock(2)[0], '!');

    TGifFile plain;
    plain.LoadFromMemory(Checker());
    EXPECT_EQ(gif.ToBitmap().Indices, plain.ToBitmap().Indices);
}

TEST(GifReader, ShortAndMissingFiles) {
    const auto f = Checker();
    for (size_t cut : {size_t(3), size_t(10), size_t(15), size_t(25), f.size() - 1})
        EXPECT_EQ(LoadError(std::vector<uint8_t>(f.begin(), f.begin() + long(cut))), "Read beyond end of file")
            << "cut at " << cut;
    for (const auto& [path, message] : {std::pair<std::string, std::string>{"/nonexistent/picture.gif", "Path not found"},
                                        {"/proc/no-such-picture.gif", "File not found"},
                                        {"/dev/null", "Not a regular file"},
                                        {std::string(5000, 'a'), "I/O error " + std::to_string(ENAMETOOLONG)}}) {
        try {
            TGifFile().LoadFromFile(path);
            ADD_FAILURE() << path;
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
}

TEST(GifReader, AStrayByteWhereABlockShouldStartEndsThePicture) {
    auto f = Checker();
    f.back() = 0x00; // junk instead of the trailer
    f.push_back(0xAA);
    TGifFile gif;
    gif.LoadFromMemory(f);
    ASSERT_EQ(gif.Images.size(), 1u);
    EXPECT_EQ(gif.ToBitmap().Indices, (std::vector<uint8_t>{0, 1, 1, 0}));
}

TEST(GifReader, ImageWithoutDataBlocks) {
    // Descriptor and code size, then the terminator at once.
    std::vector<uint8_t> f = OneImageFile(2, 2, 2, {});
    EXPECT_EQ(LoadError(f), "List index out of bounds");
    f[29] = 1; // code size 1 fails before the missing data is noticed
    EXPECT_EQ(LoadError(f), "Bad code Size");
}

TEST(GifReader, DeclaredSizesBeyondTheLimitsFailEarly) {
    // 65535 x 65535 with a few bytes of data.
    EXPECT_EQ(LoadError(OneImageFile(65535, 65535, 2, PackCodes({{4, 3}, {5, 3}}))),
              "Image too large to decode (more than 67108864 pixels)");
    // Many images of 8192 x 8192 (allowed one by one) with no data to speak of.
    auto one = OneImageFile(8192, 8192, 2, PackCodes({{4, 3}, {1, 3}, {5, 3}}));
    std::vector<uint8_t> image(one.begin() + 19, one.end() - 1);
    std::vector<uint8_t> many(one.begin(), one.begin() + 19);
    for (int i = 0; i < 100; ++i) many.insert(many.end(), image.begin(), image.end());
    many.push_back(0x3B);
    EXPECT_EQ(LoadError(many),
              "GIF file too large to decode (more than 134217728 pixels in all its images, "
              "each counting as at least 1024)");
    TGifFile gif;
    gif.LoadFromMemory(one);
    EXPECT_EQ(gif.Images[0]->Pixels.XSize, 8192);
    EXPECT_EQ(gif.Images[0]->Pixels.Get(1, 1), 0) << "a single pixel is no complete row";
}

TEST(GifReader, HostileFilesCostBoundedTimeAndMemory) {
    // 20 MB of empty images is refused once they count past the file's limit; 20 MB of
    // one-byte comments, or of extensions of an unknown kind, cost no more than their bytes.
    struct Case {
        std::vector<uint8_t> block;
        std::string error;
        long megabytes;
    };
    for (const Case& c : {Case{{0x2C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 0x05, 0}, FileTooLargeMessage(), 200},
                          Case{{0x21, 0xFE, 1, 'x', 0}, "", 64}, Case{{0x21, 0x99, 1, 'x', 0}, "", 16}}) {
        std::vector<uint8_t> f = OneImageFile(1, 1, 2, PackCodes({{4, 3}, {1, 3}, {5, 3}}));
        for (f.pop_back(); f.size() < (20u << 20);) f.insert(f.end(), c.block.begin(), c.block.end());
        f.push_back(0x3B);
        long growth = 0;
        EXPECT_TRUE(RunBounded([&] { return LoadError(f) == c.error; }, 20, c.megabytes, growth)) << growth << " MB";
    }
}

TEST(GifReader, BitmapPaletteSlots) {
    // A 16-colour global table leaves slots 16 to 255 as the fresh model had them.
    TGifFile sixteen;
    sixteen.AddImage(MakeColorMap(16), MakePicture(4, 4, 16, "random"));
    TGifFile read16;
    read16.LoadFromMemory(sixteen.SaveToMemory());
    const TIndexedBitmap b = read16.ToBitmap();
    EXPECT_EQ(b.Width, 4);
    EXPECT_EQ(b.Palette[15], MakeColorMap(16).Colors[15]);
    EXPECT_EQ(b.Palette[16], (TColorRGB{0, 0, 0}));
    EXPECT_EQ(b.Indices, ToVector(sixteen.Images[0]->Pixels));

    // A local table of 4 entries over a 256-colour global one: its other slots hold the
    // grey ramp that a new image of 256 colours starts with.
    std::vector<uint8_t> f = OneImageFile(1, 1, 2, PackCodes({{4, 3}, {3, 3}, {5, 3}}));
    f[10] = 0xF7;
    std::vector<uint8_t> global(768, 9);
    f.erase(f.begin() + 13, f.begin() + 19);
    f.insert(f.begin() + 13, global.begin(), global.end());
    const size_t flags = 13 + 768 + 9;
    f[flags] = 0x81;
    const std::vector<uint8_t> local{10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42};
    f.insert(f.begin() + long(flags) + 1, local.begin(), local.end());
    TGifFile gif;
    gif.LoadFromMemory(f);
    const TIndexedBitmap l = gif.ToBitmap();
    EXPECT_EQ(l.Palette[3], (TColorRGB{40, 41, 42}));
    EXPECT_EQ(l.Palette[100], (TColorRGB{100, 100, 100}));
    EXPECT_EQ(l.Indices, std::vector<uint8_t>{3});

    EXPECT_THROW(TGifFile().ToBitmap(), EListError);
}

TEST(GifReader, WhatTheWriterWritesReadsBack) {
    for (int colors : {1, 2, 16, 256}) {
        const TColorTable map = MakeColorMap(colors);
        const TByteArray2D pixels = MakePicture(97, 61, colors, "photo");
        TGifFile gif;
        gif.AddImage(map, pixels);
        TGifFile back;
        back.LoadFromMemory(gif.SaveToMemory());
        const TIndexedBitmap b = back.ToBitmap();
        EXPECT_EQ(b.Indices, ToVector(pixels)) << colors << " colours";
        for (int i = 0; i < std::max(colors, 2); ++i) EXPECT_EQ(b.Palette[size_t(i)], map.Colors[i]);
    }
}

TEST(GifReader, ProcessesMessagesAfterEachRow) {
    static int rows;
    rows = 0;
    const TGifHooks saved = std::exchange(GifHooks, {.ProcessMessages = [] { ++rows; }});
    TGifFile gif;
    gif.AddImage(MakeColorMap(16), MakePicture(50, 37, 16, "flat"));
    TGifFile back;
    back.LoadFromMemory(gif.SaveToMemory());
    GifHooks = saved;
    EXPECT_EQ(rows, 37);
}

} // namespace
