// Loading pictures (Qt's reader, our GIF codec) and their reduction to the halftone palette.

#include "Halftone.h"
#include "HalftonePalette.h"
#include "PictureTestSupport.h"
#include "QtPictureLoader.h"

#include <QDir>

#include <gtest/gtest.h>

#include <set>

namespace {

template <typename F> std::string MessageOf(F&& load) {
    try {
        load();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

class PictureLoaderTest : public PictureFiles {
  protected:
    QtPictureLoader loader;
    // Three columns, two rows, every component different.
    const TPicture small{3,
                         2,
                         {Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(10, 20, 30), Rgb(1, 2, 3),
                          Rgb(200, 100, 50), Rgb(255, 255, 255)}};
};

TEST_F(PictureLoaderTest, BmpComesThroughQtPixelForPixel) {
    EXPECT_EQ(loader.Load(SaveBmp("small.bmp", small)).Pixels, small.Pixels);
    EXPECT_EQ(loader.Load(SaveBmp("SMALL.BMP", small)).Pixels, small.Pixels);
}

TEST_F(PictureLoaderTest, NamesEndingInFAreReadByOurGifCodec) {
    const std::string gif = SaveGif("small.gif", small);
    const TPicture loaded = loader.Load(gif);
    EXPECT_EQ(loaded.Width, 3);
    EXPECT_EQ(loaded.Height, 2);
    EXPECT_EQ(loaded.Pixels, small.Pixels); // palette entries as red low, blue high, top byte 0
    ASSERT_TRUE(QFile::copy(QString::fromStdString(gif), QString::fromStdString(Path("copy.GIF"))));
    EXPECT_EQ(loader.Load(Path("copy.GIF")).Pixels, small.Pixels);

    // The name decides, not the content: a BMP called .tif goes to the GIF reader.
    EXPECT_THROW(loader.Load(SaveBmp("photo.tif", small)), EGifException);
}

TEST_F(PictureLoaderTest, RefusalsSayWhatWentWrong) {
    SaveBmp("card.bmp", small);
    ASSERT_TRUE(QFile::rename(QString::fromStdString(Path("card.bmp")),
                              QString::fromStdString(Path("card.xyz"))));
    EXPECT_EQ(MessageOf([&] { loader.Load(Path("card.xyz")); }),
              "Unknown picture file extension (.xyz)");
    SaveBmp("noext.bmp", small);
    ASSERT_TRUE(QFile::rename(QString::fromStdString(Path("noext.bmp")),
                              QString::fromStdString(Path("noext"))));
    EXPECT_EQ(MessageOf([&] { loader.Load(Path("noext")); }), "Unknown picture file extension (.)");
    EXPECT_THROW(loader.Load(Path("card.xyz")), EInvalidGraphic);

    EXPECT_EQ(MessageOf([&] { loader.Load(Path("missing.bmp")); }), "File not found");
    EXPECT_THROW(loader.Load(Path("missing.bmp")), EInOutError);
    EXPECT_EQ(MessageOf([&] { loader.Load(Path("missing.gif")); }), "File not found");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path("folder.bmp"))));
    EXPECT_EQ(MessageOf([&] { loader.Load(Path("folder.bmp")); }), "File access denied");

    fileio::WriteFileBytes(Path("broken.bmp"), std::vector<uint8_t>{'B', 'M', 1, 2, 3});
    EXPECT_THROW(loader.Load(Path("broken.bmp")), EInvalidGraphic);
}

TEST(HalftonePalette, HoldsTheCubeTheStandardColoursAndTheShadowGreys) {
    const auto& palette = HalftonePalette();
    const std::set<TPlatformColor> distinct(palette.begin(), palette.end());
    EXPECT_EQ(distinct.size(), palette.size());
    EXPECT_LE(palette.size(), 256u);
    TColorTable standard;
    InitColorTable(standard, 16);
    for (int i = 0; i < 16; ++i) {
        const TColorRGB c = standard.Colors[i];
        EXPECT_TRUE(distinct.count(Rgb(c.Red, c.Green, c.Blue))) << "standard colour " << i;
    }
    for (int r = 0; r <= 255; r += 51)
        for (int g = 0; g <= 255; g += 51)
            for (int b = 0; b <= 255; b += 51)
                EXPECT_TRUE(distinct.count(Rgb(r, g, b)));
    for (uint8_t grey = 255; grey >= 7; grey /= 2)
        EXPECT_TRUE(distinct.count(Rgb(grey, grey, grey)));
}

TEST(Halftone, PaletteColoursPassThroughAtEveryPlace) {
    // Each palette colour at all 64 places of the dither matrix.
    const auto& palette = HalftonePalette();
    TPicture p{int32_t(palette.size()) + 7, 8, {}};
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            p.Pixels.push_back(palette[size_t(x + y) % palette.size()]);
    EXPECT_EQ(ReduceToHalftone(p).Pixels, p.Pixels);
    EXPECT_EQ(ReduceToHalftone(p, -3, 5).Pixels, p.Pixels);
    QtPictureLoader loader;
    EXPECT_EQ(loader.ReduceTo8Bits(p).Pixels, p.Pixels);
}

TEST(Halftone, PhotoBecomesAtMost256PaletteColoursTheSameWayEachTime) {
    const TPicture photo = PhotoLike(300, 200);
    QtPictureLoader loader;
    const TPicture once = loader.ReduceTo8Bits(photo);
    EXPECT_EQ(once.Width, 300);
    EXPECT_EQ(once.Height, 200);
    const std::set<TPlatformColor> palette(HalftonePalette().begin(), HalftonePalette().end());
    const std::set<TPlatformColor> used(once.Pixels.begin(), once.Pixels.end());
    EXPECT_LE(used.size(), 256u);
    EXPECT_GT(used.size(), 50u); // dithered through the palette, not collapsed to a few colours
    for (TPlatformColor c : used)
        EXPECT_TRUE(palette.count(c)) << std::hex << c;

    EXPECT_EQ(loader.ReduceTo8Bits(photo).Pixels, once.Pixels);
    EXPECT_EQ(loader.ReduceTo8Bits(once).Pixels, once.Pixels);
    TColorTable table;
    EXPECT_NO_THROW(BitmapToIndexed(once.View(), table));
}

TEST(Halftone, FlatColoursKeepTheirAverageAndGreysStayGrey) {
    const auto mean = [](const TPicture& p, int shift) {
        double sum = 0;
        for (TPlatformColor c : p.Pixels)
            sum += (c >> shift) & 0xFF;
        return sum / double(p.Pixels.size());
    };
    for (TPlatformColor color : {Rgb(100, 150, 200), Rgb(30, 240, 77), Rgb(250, 5, 128)}) {
        const TPicture reduced = ReduceToHalftone(Filled(16, 16, color));
        EXPECT_GT(std::set<TPlatformColor>(reduced.Pixels.begin(), reduced.Pixels.end()).size(),
                  1u);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(mean(reduced, shift), (color >> shift) & 0xFF, 2.0);
    }
    const TPicture grey = ReduceToHalftone(Filled(16, 16, Rgb(100, 101, 99)));
    for (TPlatformColor c : grey.Pixels) {
        EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
        EXPECT_EQ(c & 0xFF, c >> 16);
    }
    EXPECT_NEAR(mean(grey, 0), 100.0, 1.0);
}

TEST(Halftone, APieceReducesAsTheSamePlaceOfTheWhole) {
    const TPicture photo = PhotoLike(40, 30);
    const TPicture whole = ReduceToHalftone(photo);
    const int32_t left = 13, top = 5;
    TPicture piece{10, 9, {}};
    for (int y = 0; y < piece.Height; ++y)
        for (int x = 0; x < piece.Width; ++x)
            piece.Pixels.push_back(PixelAt(photo, left + x, top + y));
    const TPicture reduced = ReduceToHalftone(piece, left, top);
    for (int y = 0; y < piece.Height; ++y)
        for (int x = 0; x < piece.Width; ++x)
            ASSERT_EQ(PixelAt(reduced, x, y), PixelAt(whole, left + x, top + y)) << x << "," << y;
}

} // namespace
