// The text image: the label's layout and drawing, the drop shadow, and the rendered capture.

#include "DessineOmbre.h"
#include "PictureTestSupport.h"
#include "QtPictureLoader.h"
#include "QtTextImageRenderer.h"
#include "TextLabel.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const TPlatformColor kWhite = Rgb(255, 255, 255);
const TPlatformColor kBlack = Rgb(0, 0, 0);
const TPlatformColor kMidGrey = Rgb(127, 127, 127);

TFont CardFont(TColor color = clBlack) {
    TFont font;
    font.Name = "DejaVu Sans";
    font.Size = 20;
    font.Color = color;
    font.Style.Bold = true;
    return font;
}

// The label drawn with its corner at (0, 0) on a white picture of its size.
TPicture DrawnOnWhite(const TextLabel& label) {
    QImage image(int(label.Width()), int(label.Height()), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.Draw(image, 0, 0);
    return FromQImage(image);
}

// ---- DessineOmbre on hand-made pictures ----

TEST(DessineOmbre, DarkensTwoRightTwoDownAndOnlyInsideThePicture) {
    TPicture p = Filled(6, 5, kWhite);
    p.Pixels[1 * 6 + 1] = kBlack; // (1,1)
    p.Pixels[2 * 6 + 5] = kBlack; // (5,2): last column, its shadow would fall outside
    p.Pixels[4 * 6 + 2] = kBlack; // (2,4): last row
    p.Pixels[0 * 6 + 2] = kBlack; // (2,0): row 0 is never looked at
    p.Pixels[1 * 6 + 0] = kBlack; // (0,1): nor is column 0
    TPicture expected = p;
    expected.Pixels[3 * 6 + 3] = kMidGrey; // from (1,1) only
    DessineOmbre(p, kBlack);
    EXPECT_EQ(p.Pixels, expected.Pixels);
}

TEST(DessineOmbre, WorksInPlaceAndNeverOverTheFontColour) {
    const TPlatformColor font = Rgb(64, 64, 64);
    const TPlatformColor ground = Rgb(200, 100, 50), shade = Rgb(100, 50, 25);
    TPicture p = Filled(8, 8, ground);
    p.Pixels[1 * 8 + 1] = font;               // (1,1) darkens (3,3)...
    p.Pixels[3 * 8 + 3] = Rgb(128, 128, 128); // ...into the font colour, so it casts on (5,5)
    p.Pixels[2 * 8 + 2] = font;               // (2,2) would darken (4,4)...
    p.Pixels[4 * 8 + 4] = font;               // ...which keeps the font colour and casts on (6,6)
    DessineOmbre(p, font);
    EXPECT_EQ(PixelAt(p, 3, 3), font);
    EXPECT_EQ(PixelAt(p, 4, 4), font);
    EXPECT_EQ(PixelAt(p, 5, 5), shade);
    EXPECT_EQ(PixelAt(p, 6, 6), shade);
    EXPECT_EQ(PixelAt(p, 7, 7), ground); // a shadow casts none
    EXPECT_EQ(PixelAt(p, 2, 2), font);
}

// ---- The label ----

TEST(TextLabel, EachCarriageReturnEndsALineAndALastOneAddsNone) {
    const TFont font = CardFont();
    const TextLabel one("Birthday", font, taLeftJustify);
    ASSERT_GT(one.Height(), 0);
    EXPECT_EQ(TextLabel("Happy\rBirthday\r", font, taLeftJustify).Height(), 2 * one.Height());
    EXPECT_EQ(TextLabel("Happy\rBirthday", font, taLeftJustify).Height(), 2 * one.Height());
    EXPECT_EQ(TextLabel("Happy\r\rBirthday\r", font, taLeftJustify).Height(), 3 * one.Height());
    EXPECT_EQ(TextLabel("Happy\r\nBirthday\r\n", font, taLeftJustify).Height(), 2 * one.Height());
    EXPECT_EQ(TextLabel("Happy\rBirthday\r", font, taLeftJustify).Width(), one.Width());
    const TextLabel empty("", font, taLeftJustify);
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.Height(), one.Height());
}

// The leftmost column where the label's first line has a glyph pixel.
int FirstLineLeftmost(const TextLabel& label) {
    const TPicture p = DrawnOnWhite(label);
    for (int x = 0; x < p.Width; ++x)
        for (int y = 0; y < p.Height / 2; ++y)
            if (PixelAt(p, x, y) == label.Color()) return x;
    return -1;
}

TEST(TextLabel, ShorterLinesFollowTheAlignment) {
    const std::string message = "ii\rWWWWWWWW\r";
    const TextLabel left(message, CardFont(), taLeftJustify);
    const TextLabel right(message, CardFont(), taRightJustify);
    const TextLabel centre(message, CardFont(), taCenter);
    const int l = FirstLineLeftmost(left);
    const int r = FirstLineLeftmost(right);
    const int c = FirstLineLeftmost(centre);
    EXPECT_LT(l, 5);
    EXPECT_GT(r, left.Width() / 2);
    EXPECT_NEAR(c, (l + r) / 2, 2);
}

TEST(TextLabel, GlyphsAreHardEdgedInEveryStyle) {
    TFont font = CardFont(0x005A1EC8); // (200, 30, 90)
    font.Style = {.Bold = true, .Italic = true, .Underline = true, .StrikeOut = true};
    const TPicture drawn = DrawnOnWhite(TextLabel("Ag Wy", font, taLeftJustify));
    EXPECT_EQ(std::set<TPlatformColor>(drawn.Pixels.begin(), drawn.Pixels.end()),
              (std::set<TPlatformColor>{kWhite, Rgb(200, 30, 90)}));
}

TEST(TextLabel, SystemColoursAreTheClassicOnes) {
    EXPECT_EQ(TextLabel("x", CardFont(clWindowText), taLeftJustify).Color(), kBlack);
    const TColor window = TColor(0x80000005);
    EXPECT_EQ(TextLabel("x", CardFont(window), taLeftJustify).Color(), kWhite);
    EXPECT_EQ(TextLabel("x", CardFont(0x00336699), taLeftJustify).Color(), Rgb(0x99, 0x66, 0x33));
}

// ---- The rendered text image ----

class TextImageTest : public PictureFiles {
  protected:
    QtPictureLoader loader;
    QtTextImageRenderer renderer{loader};
    const std::string message = "Happy\rBirthday\r";

    static TDataTexte Texte(int32_t x, int32_t y, bool shadow, TColor color = clBlack) {
        TDataTexte texte;
        texte.Font = CardFont(color);
        texte.Alignment = taCenter;
        texte.Shadow = shadow;
        texte.X = x;
        texte.Y = y;
        return texte;
    }
    TPicture Render(const std::string& picture, const TDataTexte& texte) {
        return GifPixels(*renderer.Render(picture, message, texte));
    }
};

TEST_F(TextImageTest, BlackTextOnWhiteCastsMidGreyShadows) {
    const std::string white = SaveBmp("white.bmp", Filled(200, 100, kWhite));
    const TextLabel label(message, CardFont(), taCenter);
    const TPicture shadowed = Render(white, Texte(10, 20, true));
    ASSERT_EQ(shadowed.Width, label.Width() + 2);
    ASSERT_EQ(shadowed.Height, label.Height());

    // The shadow is exactly the glyphs moved 2 right and 2 down, where they are not.
    std::set<TPlatformColor> seen;
    for (int32_t y = 0; y < shadowed.Height; ++y)
        for (int32_t x = 0; x < shadowed.Width; ++x) {
            const TPlatformColor c = PixelAt(shadowed, x, y);
            seen.insert(c);
            if (c == kBlack) continue;
            const bool cast = x >= 2 && y >= 2 && PixelAt(shadowed, x - 2, y - 2) == kBlack;
            ASSERT_EQ(c, cast ? kMidGrey : kWhite) << x << "," << y;
        }
    EXPECT_EQ(seen, (std::set<TPlatformColor>{kWhite, kBlack, kMidGrey}));

    // Without the shadow: the same text on the untouched picture.
    const TPicture plain = Render(white, Texte(10, 20, false));
    TPicture expected = shadowed;
    std::replace(expected.Pixels.begin(), expected.Pixels.end(), kMidGrey, kWhite);
    EXPECT_EQ(plain.Pixels, expected.Pixels);
}

TEST_F(TextImageTest, AroundTheTextTheImageIsTheReducedBackground) {
    const TPicture photo = PhotoLike(160, 90);
    // A GIF is not reduced: one of 256 colours, none of them the reduced photo's.
    TPicture gifPicture = loader.ReduceTo8Bits(photo);
    for (TPlatformColor& c : gifPicture.Pixels)
        c ^= 1;
    const TPlatformColor font = Rgb(0, 255, 0);
    for (const std::string& path :
         {SaveBmp("photo.bmp", photo), SaveGif("photo.gif", gifPicture)}) {
        SCOPED_TRACE(path);
        const TPicture background = loader.ReduceTo8Bits(loader.Load(path));
        ASSERT_EQ(std::count(background.Pixels.begin(), background.Pixels.end(), font), 0);
        const TDataTexte texte = Texte(30, 15, true, 0x0000FF00);

        // A blank draws no glyph and casts no shadow: the image is the background's piece.
        const TPicture blank = GifPixels(*renderer.Render(path, " ", texte));
        ASSERT_GT(blank.Width, 2);
        EXPECT_EQ(blank.Pixels,
                  Crop(background, texte.X, texte.Y, blank.Width, blank.Height).Pixels);

        // Text: only the glyphs and their shadow differ from the background.
        const TPicture image = Render(path, texte);
        size_t glyphs = 0;
        for (int32_t y = 0; y < image.Height; ++y)
            for (int32_t x = 0; x < image.Width; ++x) {
                if (PixelAt(image, x, y) == font) {
                    ++glyphs;
                    continue;
                }
                if (x >= 2 && y >= 2 && PixelAt(image, x - 2, y - 2) == font) continue; // shadow
                ASSERT_EQ(PixelAt(image, x, y), PixelAt(background, texte.X + x, texte.Y + y))
                    << x << "," << y;
            }
        EXPECT_GT(glyphs, 100u);
    }
}

TEST_F(TextImageTest, ALabelOverTheRightAndBottomEdgesIsClippedToThePicture) {
    // Of 256 colours, so that the reduction leaves the picture and its piece as they are.
    const TPicture ground = loader.ReduceTo8Bits(PhotoLike(200, 100));
    const std::string small = SaveBmp("small.bmp", Crop(ground, 0, 0, 60, 40));
    const std::string large = SaveBmp("large.bmp", ground);
    const TextLabel label(message, CardFont(), taCenter);
    ASSERT_GT(label.Width(), 20);
    ASSERT_GT(label.Height(), 20);

    const TPicture clipped = Render(small, Texte(45, 25, true));
    EXPECT_EQ(clipped.Width, 60 - 45);
    EXPECT_EQ(clipped.Height, 40 - 25);
    // The same corner of the same text on a picture large enough to hold it all.
    const TPicture whole = Render(large, Texte(45, 25, true));
    EXPECT_EQ(clipped.Pixels, Crop(whole, 0, 0, 15, 15).Pixels);
}

TEST_F(TextImageTest, OnlyThePartOnThePictureIsKeptAndOneOutsideGivesAPixel) {
    // Of 64 colours, black among them: neither picture below is reduced, and the colours the
    // text adds all find room in the image's table.
    TPicture ground = PhotoLike(200, 80);
    for (TPlatformColor& pixel : ground.Pixels) pixel &= 0xC0C0C0;
    const std::string photo = SaveBmp("photo.bmp", ground);
    const TextLabel label(message, CardFont(), taCenter);
    ASSERT_LT(label.Width(), 190);

    // Before the left and top edges: the image starts at them. It is the same as the part of
    // the label at the corner of a picture moved 8 right and down.
    const TPicture cut = Render(photo, Texte(-8, -8, false, 0x000000FF));
    EXPECT_EQ(cut.Width, label.Width() + 2 - 8);
    EXPECT_EQ(cut.Height, label.Height() - 8);
    TPicture moved = Filled(208, 88, kBlack);
    for (int32_t y = 0; y < 80; ++y)
        std::copy_n(&ground.Pixels[size_t(y) * 200], 200, &moved.Pixels[size_t(y + 8) * 208 + 8]);
    const TPicture whole = Render(SaveBmp("moved.bmp", moved), Texte(0, 0, false, 0x000000FF));
    EXPECT_EQ(cut.Pixels, Crop(whole, 8, 8, cut.Width, cut.Height).Pixels);

    // Wholly outside: one pixel, the picture's own where the image's corner lies on it.
    const TPicture reduced = loader.ReduceTo8Bits(ground);
    for (const auto& [texte, pixel] : {std::pair{Texte(200, 10, true), kBlack}, {Texte(10, 80, false), kBlack},
                                       {Texte(int32_t(-label.Width() - 2), 7, true), PixelAt(reduced, 0, 7)},
                                       {Texte(9, int32_t(-label.Height()), true), PixelAt(reduced, 9, 0)}})
        EXPECT_EQ(Render(photo, texte).Pixels, std::vector<TPlatformColor>{pixel}) << texte.X << "," << texte.Y;
}

} // namespace
