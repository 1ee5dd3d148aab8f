// Loading pictures (Qt's reader, our GIF codec) and their reduction to 256 colours.

#include "PictureTestSupport.h"
#include "QtPictureLoader.h"
#include "Reduce256.h"

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
