// Loading pictures (Qt's reader, our GIF codec) and their reduction to 256 colours.

#include "AtomicFile.h"
#include "PictureTestSupport.h"
#include "QtPictureLoader.h"
#include "Reduce256.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
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
        WriteFileAtomically(Path(name), std::vector<uint8_t>{'B', 'M', 1, 2, 3});
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path("folder.bmp"))));

    EXPECT_EQ(ErrorOf("card.xyz"), "EInvalidGraphic: Unknown picture file extension (.xyz)");
    EXPECT_EQ(ErrorOf("noext"), "EInvalidGraphic: Unknown picture file extension (.)");
    EXPECT_EQ(ErrorOf("broken.bmp"), "EInvalidGraphic: Bitmap image is not valid");
    EXPECT_EQ(ErrorOf("missing.bmp"), "EInOutError: File not found");
    EXPECT_EQ(ErrorOf("missing.gif"), "EInOutError: File not found");
    EXPECT_EQ(ErrorOf("folder.bmp"), "EInOutError: File access denied");
}

// A 24-bit BMP whose header (14 + 40 bytes, the fields not set 0) puts its pixels at `offset`,
// followed by `pixelBytes` bytes.
std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint32_t offset, size_t pixelBytes) {
    std::vector<uint8_t> b(54 + pixelBytes, 0x7F);
    std::fill_n(b.begin(), 54, 0);
    const auto put = [&b](size_t at, uint32_t v) {
        for (size_t i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = 24; // planes, bits per pixel
    put(10, offset), put(14, 40), put(18, uint32_t(width)), put(22, uint32_t(height));
    return b;
}

// Qt's reader would make a black picture of pixels it does not find.
TEST_F(PictureLoaderTest, ABmpWhosePixelsDoNotLieInTheFileIsRefused) {
    const size_t rows = 200 * 960; // 320 pixels of 3 bytes a row
    for (const std::vector<uint8_t>& bytes :
         {Bmp(320, 200, 0xFFFFFFF0, 0), Bmp(320, 200, 0xFFFFFFF0, rows), Bmp(320, 200, 54 + rows, rows),
          Bmp(320, 200, 54, rows / 2), Bmp(320, -200, 54, rows - 960)}) {
        WriteFileAtomically(Path("damaged.bmp"), bytes);
        EXPECT_EQ(ErrorOf("damaged.bmp"), "EInvalidGraphic: Bitmap image is not valid");
    }
}

TEST(PictureReduction, IsTheSharedReductionToAtMost256Colours) {
    // The build, the script loader and the text images all reduce through the loader, so it
    // must give what the card's own reduction gives, and only that.
    const TPicture photo = PhotoLike(300, 200);
    const TPicture reduced = QtPictureLoader().ReduceTo8Bits(photo);
    EXPECT_EQ(reduced.Width, photo.Width);
    EXPECT_EQ(reduced.Height, photo.Height);
    EXPECT_EQ(reduced.Pixels, ReduceTo256Colours(photo.Pixels, photo.Width, photo.Height));
    EXPECT_LE(std::set<TPlatformColor>(reduced.Pixels.begin(), reduced.Pixels.end()).size(), 256u);
}

} // namespace
