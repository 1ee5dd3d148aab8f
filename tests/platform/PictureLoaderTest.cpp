// Loading pictures (Qt's reader, our GIF codec) and their reduction to the halftone palette.

#include "Halftone.h"
#include "HalftonePalette.h"
#include "PictureTestSupport.h"
#include "QtPictureLoader.h"

#include <QDir>

#include <gtest/gtest.h>

#include <set>

namespace {

class PictureLoaderTest : public PictureFiles {
protected:
    QtPictureLoader loader;
    const TPicture small{3,
                         2,
                         {Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(10, 20, 30), Rgb(1, 2, 3),
                          Rgb(200, 100, 50), Rgb(255, 255, 255)}};

    std::string ErrorOf(const std::string& name) {
        try {
            loader.Load(Path(name));
        } catch (const EInvalidGraphic& e) {
            return std::string("EInvalidGraphic: ") + e.what();
        } catch (const EInOutError& e) {
            return std::string("EInOutError: ") + e.what();
        }
        return "loaded";
    }
};

TEST_F(PictureLoaderTest, BmpThroughQtAndNamesEndingInFThroughOurCodec) {
    EXPECT_EQ(loader.Load(SaveBmp("small.bmp", small)).Pixels, small.Pixels);
    EXPECT_EQ(loader.Load(SaveBmp("SMALL.BMP", small)).Pixels, small.Pixels);
    const TPicture gif = loader.Load(SaveGif("small.GIF", small));
    EXPECT_EQ(gif.Width, 3);
    EXPECT_EQ(gif.Height, 2);
    EXPECT_EQ(gif.Pixels, small.Pixels); // red in the low byte, top byte 0
    // The name decides, not the content: a BMP called .tif goes to the GIF reader.
    EXPECT_THROW(loader.Load(SaveBmp("photo.tif", small)), EGifException);
}

TEST_F(PictureLoaderTest, RefusalsSayWhatWentWrong) {
    for (const char* name : {"card.xyz", "noext", "broken.bmp"})
        fileio::WriteFileBytes(Path(name), std::vector<uint8_t>{'B', 'M', 1, 2, 3});
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path("folder.bmp"))));

    EXPECT_EQ(ErrorOf("card.xyz"), "EInvalidGraphic: Unknown picture file extension (.xyz)");
    EXPECT_EQ(ErrorOf("noext"), "EInvalidGraphic: Unknown picture file extension (.)");
    EXPECT_EQ(ErrorOf("broken.bmp"), "EInvalidGraphic: Bitmap image is not valid");
    EXPECT_EQ(ErrorOf("missing.bmp"), "EInOutError: File not found");
    EXPECT_EQ(ErrorOf("missing.gif"), "EInOutError: File not found");
    EXPECT_EQ(ErrorOf("folder.bmp"), "EInOutError: File access denied");
}

TEST(Halftone, PaletteHoldsTheStandardColoursTheCubeAndTheShadowGreys) {
    const auto& palette = HalftonePalette();
    const std::set<TPlatformColor> distinct(palette.begin(), palette.end());
    EXPECT_EQ(distinct.size(), palette.size());
    EXPECT_LE(palette.size(), 256u);
    TColorTable standard;
    InitColorTable(standard, 16);
    for (int i = 0; i < standard.Count; ++i) {
        const TColorRGB c = standard.Colors[i];
        EXPECT_TRUE(distinct.count(Rgb(c.Red, c.Green, c.Blue))) << "standard colour " << i;
    }
    for (int level : kCubeLevels)
        EXPECT_TRUE(distinct.count(Rgb(level, 255 - level, level)));
    for (int grey = 255; grey >= 7; grey /= 2)
        EXPECT_TRUE(distinct.count(Rgb(grey, grey, grey)));
}

TEST(Halftone, PaletteColoursPassThroughAtEveryPlace) {
    // Each palette colour at all 64 places of the dither matrix.
    const auto& palette = HalftonePalette();
    TPicture p{int32_t(palette.size()) + 7, 8, {}};
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            p.Pixels.push_back(palette[size_t(x + y) % palette.size()]);
    EXPECT_EQ(QtPictureLoader().ReduceTo8Bits(p).Pixels, p.Pixels);
    EXPECT_EQ(ReduceToHalftone(p, -3, 5).Pixels, p.Pixels);
}

TEST(Halftone, APhotoBecomesPaletteColoursTheSameWayEachTime) {
    const TPicture photo = PhotoLike(300, 200);
    QtPictureLoader loader;
    const TPicture once = loader.ReduceTo8Bits(photo);
    ASSERT_EQ(once.Pixels.size(), photo.Pixels.size());
    const std::set<TPlatformColor> palette(HalftonePalette().begin(), HalftonePalette().end());
    const std::set<TPlatformColor> used(once.Pixels.begin(), once.Pixels.end());
    EXPECT_GT(used.size(), 50u); // dithered through the palette, not collapsed to a few colours
    for (TPlatformColor c : used)
        ASSERT_TRUE(palette.count(c)) << std::hex << c;
    EXPECT_EQ(loader.ReduceTo8Bits(photo).Pixels, once.Pixels);
    EXPECT_EQ(loader.ReduceTo8Bits(once).Pixels, once.Pixels);

    // A piece reduces as the same place of the whole, given where it lies.
    EXPECT_EQ(ReduceToHalftone(Crop(photo, 13, 5, 10, 9), 13, 5).Pixels,
              Crop(once, 13, 5, 10, 9).Pixels);
}

TEST(Halftone, FlatColoursKeepTheirAverageAndGreysStayGrey) {
    const auto mean = [](const TPicture& p, int shift) {
        double sum = 0;
        for (TPlatformColor c : p.Pixels)
            sum += (c >> shift) & 0xFF;
        return sum / double(p.Pixels.size());
    };
    for (TPlatformColor color : {Rgb(100, 150, 200), Rgb(30, 240, 77), Rgb(100, 101, 99)}) {
        const TPicture reduced = ReduceToHalftone(Filled(16, 16, color));
        EXPECT_GT(std::set<TPlatformColor>(reduced.Pixels.begin(), reduced.Pixels.end()).size(),
                  1u);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(mean(reduced, shift), (color >> shift) & 0xFF, 2.0);
    }
    for (TPlatformColor c : ReduceToHalftone(Filled(8, 8, Rgb(100, 101, 99))).Pixels)
        EXPECT_EQ(c, (c & 0xFF) * 0x010101u);
}

} // namespace
