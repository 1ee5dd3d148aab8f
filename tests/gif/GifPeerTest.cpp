// Our codec against giflib and against published pictures with known decodings.
#include "GifTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace giftest;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> TestPictures() {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(DataPath("gif")))
        if (entry.path().extension() == ".gif") paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(GifPeer, GiflibDecodesWhatWeWrite) {
    struct Case { int colors; int width, height; const char* kind; };
    const Case cases[] = {
        {1, 1, 1, "flat"},       {2, 1, 1, "random"},    {2, 2, 3, "random"},
        {3, 17, 5, "random"},    {5, 100, 100, "flat"},  {16, 255, 3, "random"},
        {17, 333, 211, "photo"}, {100, 640, 480, "photo"}, {256, 1, 1000, "random"},
        {256, 1920, 1080, "photo"}, {256, 1000, 700, "random"}, {2, 1920, 1080, "flat"},
    };
    for (const Case& c : cases) {
        // Through the same path as the program: colours -> BitmapToIndexed -> AddImage.
        const TByteArray2D source = MakePicture(c.width, c.height, c.colors, c.kind, uint32_t(c.width));
        const TColorTable palette = MakeColorMap(c.colors);
        std::vector<TPlatformColor> rgb;
        for (int32_t i = 0; i < source.Bytes.Count; ++i) {
            const TColorRGB col = palette.Colors[source.Bytes.Data[i]];
            rgb.push_back(col.Red | (col.Green << 8) | (col.Blue << 16));
        }
        TColorTable table;
        const TByteArray2D indices = BitmapToIndexed({c.width, c.height, rgb.data(), c.width}, table);
        TGifFile gif;
        gif.AddImage(table, indices);
        const PeerImage peer = DecodeWithGiflib(gif.SaveToMemory());
        ASSERT_EQ(peer.error, 0) << c.width << "x" << c.height;
        EXPECT_EQ(peer.width, c.width);
        EXPECT_EQ(peer.height, c.height);
        EXPECT_EQ(peer.pixels, ToVector(indices)) << c.colors << " colours " << c.width << "x" << c.height;
        for (size_t i = 0; i < peer.pixels.size(); i += 97)
            ASSERT_EQ(peer.colors[peer.pixels[i]], palette.Colors[source.Bytes.Data[i]]);
    }
}

TEST(GifPeer, WeDecodeWhatGiflibWrites) {
    struct Case { int colors; int width, height; const char* kind; bool interlaced; };
    const Case cases[] = {
        {2, 1, 1, "random", false},    {2, 7, 3, "random", true},      {4, 64, 5, "flat", true},
        {16, 300, 200, "photo", false}, {16, 301, 199, "photo", true},  {256, 640, 480, "photo", true},
        {256, 1920, 1080, "photo", false}, {256, 500, 9, "random", true}, {128, 1, 257, "random", true},
    };
    for (const Case& c : cases) {
        const TByteArray2D pixels = MakePicture(c.width, c.height, c.colors, c.kind, 5);
        const TColorTable map = MakeColorMap(c.colors);
        TGifFile gif;
        gif.LoadFromMemory(EncodeWithGiflib(pixels, map, c.interlaced));
        ASSERT_EQ(gif.Images.size(), 1u);
        EXPECT_EQ(gif.Images[0]->Interlaced, c.interlaced);
        const TIndexedBitmap b = gif.ToBitmap();
        EXPECT_EQ(b.Indices, ToVector(pixels)) << c.width << "x" << c.height << (c.interlaced ? " interlaced" : "");
        EXPECT_EQ(b.Palette[size_t(c.colors - 1)], map.Colors[c.colors - 1]);
    }
}

TEST(GifPeer, WhatGiflibReadsWholeWeReadToTheSamePixels) {
    // Among them a table that fills and goes on without a clear code, and a code never
    // defined after the last pixel.
    int compared = 0;
    for (const std::string& path : TestPictures()) {
        SCOPED_TRACE(path);
        const std::vector<uint8_t> bytes = ReadFile(path);
        const PeerImage peer = DecodeWithGiflib(bytes);
        if (peer.error != 0) continue;
        TGifFile gif;
        gif.LoadFromMemory(bytes);
        EXPECT_EQ(gif.ToBitmap().Indices, peer.pixels);
        ++compared;
    }
    EXPECT_GE(compared, 34);
}

TEST(GifPeer, PublishedIndexFiles) {
    for (const char* name : {"bricks-dither", "bricks-gray", "bricks-nodither"}) {
        TGifFile gif;
        gif.LoadFromFile(DataPath(std::string("gif/wuffs/") + name + ".gif"));
        EXPECT_EQ(gif.ToBitmap().Indices, ReadFile(DataPath(std::string("gif/wuffs/") + name + ".indexes"))) << name;
    }
    TGifFile muybridge;
    muybridge.LoadFromFile(DataPath("gif/wuffs/muybridge.gif"));
    ASSERT_GE(muybridge.Images.size(), 15u);
    for (int frame = 0; frame < 15; ++frame) {
        char name[64];
        std::snprintf(name, sizeof name, "gif/wuffs/muybridge-frame-%03d.indexes", frame);
        EXPECT_EQ(ToVector(muybridge.Images[size_t(frame)]->Pixels), ReadFile(DataPath(name))) << name;
    }
    // Raw code streams: first byte the code size, then the codes without sub-blocks.
    const std::pair<const char*, const char*> streams[] = {
        {"gif/wuffs/bricks-nodither.indexes.giflzw", "gif/wuffs/bricks-nodither.indexes"},
        {"gif/wuffs/bricks-gray.indexes.giflzw", "gif/wuffs/bricks-gray.indexes"},
        {"gif/wuffs/pi.txt.giflzw", "gif/wuffs/pi.txt"}};
    for (auto [lzw, expected] : streams) {
        const auto data = ReadFile(DataPath(lzw));
        const auto want = ReadFile(DataPath(expected));
        TByteArray2D out(int32_t(want.size()), 1);
        LzwDecode(std::span<const uint8_t>(data).subspan(1), data[0], false, out);
        EXPECT_EQ(ToVector(out), want) << lzw;
    }
}

TEST(GifPeer, GiflibScreenDumps) {
    // NAME.rgb: the screen in 24-bit colour; for a picture of one image filling its screen,
    // that is the image.
    int compared = 0;
    for (const char* name : {"porsche", "solid2", "treescap", "treescap-interlaced", "welcome2", "fire", "gifgrid", "x-trans"}) {
        TGifFile gif;
        gif.LoadFromFile(DataPath(std::string("gif/giflib/pic/") + name + ".gif"));
        const TIndexedBitmap b = gif.ToBitmap();
        const auto rgb = ReadFile(DataPath(std::string("gif/giflib/tests/") + name + ".rgb"));
        ASSERT_EQ(rgb.size(), size_t(gif.ScreenWidth) * gif.ScreenHeight * 3) << name;
        if (gif.Images.size() != 1 || b.Width != gif.ScreenWidth || b.Height != gif.ScreenHeight) continue;
        ++compared;
        std::vector<uint8_t> ours;
        for (uint8_t i : b.Indices) ours.insert(ours.end(), {b.Palette[i].Red, b.Palette[i].Green, b.Palette[i].Blue});
        EXPECT_EQ(ours, rgb) << name;
    }
    EXPECT_GE(compared, 4);
}

TEST(GifPeer, ArtificialCornerCases) {
    auto load = [](const char* name) {
        auto gif = std::make_unique<TGifFile>();
        gif->LoadFromFile(DataPath(std::string("gif/wuffs/artificial-gif/") + name));
        return gif;
    };
    EXPECT_TRUE(load("no-frames.gif")->Images.empty());
    EXPECT_EQ(load("zero-width-frame.gif")->Images[0]->Pixels.Bytes.Count, 0)
        << "its data is not needed";
    EXPECT_EQ(ToVector(load("pixel-data-not-enough.gif")->Images[0]->Pixels).size(), 4u);
    const auto interlaced = load("small-frame-interlaced.gif");
    EXPECT_TRUE(interlaced->Images[0]->Interlaced);
}

} // namespace
