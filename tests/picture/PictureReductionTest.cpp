// The reduction of pictures to 256 colours: the palette, the nearest-colour search, the error
// diffusion, and the colours of text images.

#include "ErrorDiffusion.h"
#include "LocalContrast.h"
#include "NearestColour.h"
#include "PaletteChoice.h"
#include "Reduce256.h"
#include "Rgb.h"
#include "TextImageColours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>

namespace {

struct Pixels {
    int32_t width, height;
    std::vector<TPlatformColor> rgb;
};

size_t ColourCount(const std::vector<TPlatformColor>& pixels) {
    return std::set<TPlatformColor>(pixels.begin(), pixels.end()).size();
}

// Shading in all three components with noise: nearly every pixel a colour of its own.
Pixels Photo(int32_t width, int32_t height) {
    Pixels p{width, height, {}};
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto c = [&](int v) { return uint8_t(std::clamp(v + noise(rng), 0, 255)); };
            p.rgb.push_back(
                PlatformColor(c(x * 255 / width), c(y * 255 / height), c((x + y) % 256)));
        }
    return p;
}

TEST(Reduce256, PicturesOf256ColoursOrFewerPassThroughAndMoreAreReduced) {
    struct Case {
        size_t colours;
        bool passes;
    };
    for (const Case c : {Case{1, true}, {2, true}, {200, true}, {256, true}, {257, false}}) {
        SCOPED_TRACE(c.colours);
        // Colours spread over the whole cube, each on a few pixels in a scattered order.
        Pixels p{37, 29, {}};
        for (int i = 0; i < p.width * p.height; ++i) {
            const uint32_t k = uint32_t(i * 7919) % uint32_t(c.colours);
            p.rgb.push_back(PlatformColor(uint8_t(k * 97), uint8_t(k >> 1), uint8_t(k)));
        }
        ASSERT_EQ(ColourCount(p.rgb), c.colours);
        const std::vector<TPlatformColor> out = ReduceTo256Colours(p.rgb, p.width, p.height);
        if (c.passes)
            EXPECT_EQ(out, p.rgb);
        else
            EXPECT_LE(ColourCount(out), 256u);
    }
}

TEST(Reduce256, APhotoReducesTheSameWayEveryTimeAndOnceForAll) {
    const Pixels photo = Photo(160, 90);
    const std::vector<TPlatformColor> once =
        ReduceTo256Colours(photo.rgb, photo.width, photo.height);
    EXPECT_GT(ColourCount(once), 200u); // the palette is used, not collapsed to a few colours
    EXPECT_LE(ColourCount(once), 256u);
    EXPECT_EQ(ReduceTo256Colours(photo.rgb, photo.width, photo.height), once);
    EXPECT_EQ(ReduceTo256Colours(once, photo.width, photo.height), once);
}

TEST(Reduce256, GradientsKeepTheirShadeWithoutBandsOrCast) {
    // A sky: blue to pale over the height, warmer to the right; 6000 colours or so.
    Pixels sky{320, 200, {}};
    for (int y = 0; y < sky.height; ++y)
        for (int x = 0; x < sky.width; ++x)
            sky.rgb.push_back(PlatformColor(uint8_t(30 + y * 100 / 200 + x * 120 / 320),
                                            uint8_t(80 + y * 140 / 200),
                                            uint8_t(170 + y * 80 / 200)));
    ASSERT_GT(ColourCount(sky.rgb), 1000u);
    const std::vector<TPlatformColor> out = ReduceTo256Colours(sky.rgb, sky.width, sky.height);
    // Banding shows as blocks whose mean is off the source's where a band's edge passes, a cast
    // as the whole picture's mean off. (Not at the picture's edges: there lie the sky's most
    // extreme colours, a little beyond the palette's, which are means, so that dithering
    // cannot quite reach them.)
    constexpr int kBlock = 8;
    double worst = 0, squares = 0;
    std::array<double, 3> cast{};
    for (int by = 0; by < sky.height; by += kBlock)
        for (int bx = 0; bx < sky.width; bx += kBlock)
            for (int k = 0; k < 3; ++k) {
                double difference = 0;
                for (int y = by; y < by + kBlock; ++y)
                    for (int x = bx; x < bx + kBlock; ++x) {
                        const size_t i = size_t(y * sky.width + x);
                        const double d =
                            double(out[i] >> (8 * k) & 0xFF) - double(sky.rgb[i] >> (8 * k) & 0xFF);
                        difference += d;
                        squares += d * d;
                    }
                cast[size_t(k)] += difference / double(out.size());
                if (std::min({bx, by, sky.width - bx, sky.height - by}) > 2 * kBlock)
                    worst = std::max(worst, std::abs(difference) / (kBlock * kBlock));
            }
    EXPECT_LT(worst, 1.0);
    for (double c : cast)
        EXPECT_LT(std::abs(c), 0.25);
    const double psnr = 10 * std::log10(255.0 * 255.0 * 3 * double(out.size()) / squares);
    EXPECT_GT(psnr, 38.0);
}

TEST(ChoosePalette, GivesAtMostTheColoursAskedAndEveryColourWhenThereIsRoom) {
    const Pixels photo = Photo(64, 48);
    for (int count : {1, 16, 256}) {
        const std::vector<TPlatformColor> palette = ChoosePalette(photo.rgb, count);
        EXPECT_EQ(palette.size(), size_t(count)); // distinct colours, as many as asked
        EXPECT_EQ(ColourCount(palette), palette.size());
    }
    std::vector<TPlatformColor> forty(photo.rgb.begin(), photo.rgb.begin() + 40);
    forty.insert(forty.end(), forty.begin(), forty.begin() + 10); // some twice
    std::vector<TPlatformColor> palette = ChoosePalette(forty, 256);
    std::sort(forty.begin(), forty.end());
    forty.erase(std::unique(forty.begin(), forty.end()), forty.end());
    EXPECT_EQ(palette, forty);
}

TEST(ErrorDiffusion, SpreadsErrorsOverSmoothShadingButNotOverTexture) {
    // Left half: a flat shade between two palette colours. Right half: coarse grain.
    const std::vector<TPlatformColor> palette{PlatformColor(100, 100, 100), PlatformColor(110, 110, 110),
                                              PlatformColor(30, 30, 30), PlatformColor(200, 200, 200)};
    Pixels p{64, 32, {}};
    std::mt19937 rng(4);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint8_t v = x < 32 ? 104 : uint8_t(rng() % 2 ? 70 + rng() % 30 : 150 + rng() % 30);
            p.rgb.push_back(PlatformColor(v, v, v));
        }
    const std::vector<uint8_t> contrast = LocalContrast(p.rgb, p.width, p.height);
    const std::vector<TPlatformColor> out = DiffuseToPalette(p.rgb, p.width, p.height, palette, contrast);
    NearestColour nearest(palette);
    size_t mixed = 0, speckled = 0;
    for (int y = 1; y + 1 < p.height; ++y)
        for (int x = 1; x + 1 < p.width; ++x) {
            const size_t i = size_t(y * p.width + x);
            const TPlatformColor own = palette[nearest.Find(Red(p.rgb[i]), Green(p.rgb[i]), Blue(p.rgb[i]))];
            if (x < 30 || x > 33) (x < 30 ? mixed : speckled) += out[i] != own; // not at the seam
        }
    EXPECT_GT(mixed, 300u) << "the flat shade is drawn as a mix of the two colours around it";
    EXPECT_EQ(speckled, 0u) << "grain takes each pixel's nearest colour";
}

TEST(ChoosePalette, GivesTheHeavierPixelsMoreOfTheColours) {
    // A smooth skin-like ramp beside grey noise, with as many pixels each.
    Pixels p{128, 64, {}};
    std::vector<uint8_t> weights;
    std::mt19937 rng(8);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const bool ramp = x < 64;
            p.rgb.push_back(ramp ? PlatformColor(uint8_t(180 + x / 2), uint8_t(130 + x / 3), uint8_t(110 + x / 4))
                                 : PlatformColor(uint8_t(100 + rng() % 60), uint8_t(100 + rng() % 60), uint8_t(100 + rng() % 60)));
            weights.push_back(ramp ? 16 : 2);
        }
    auto onRamp = [](const std::vector<TPlatformColor>& palette) {
        return std::count_if(palette.begin(), palette.end(), [](TPlatformColor c) {
            return Red(c) >= 178 && Red(c) <= 213 && Green(c) >= 128 && Green(c) <= 153 && Blue(c) >= 108 && Blue(c) <= 127;
        });
    };
    const auto even = ChoosePalette(p.rgb, 32), weighted = ChoosePalette(p.rgb, 32, weights);
    EXPECT_GT(onRamp(weighted), onRamp(even) * 3 / 2);
}

TEST(NearestColour, FindsAsNearAColourAsAFullSearch) {
    std::mt19937 rng(9);
    auto random = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto colours = [&](size_t n, int lo, int hi) {
        std::vector<TPlatformColor> palette;
        while (palette.size() < n) {
            const TPlatformColor c = PlatformColor(uint8_t(random(lo, hi)), uint8_t(random(lo, hi)),
                                                   uint8_t(random(lo, hi)));
            if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
        }
        return palette;
    };
    // Spread out, packed in a small corner of the cube as a sky's are, one, two.
    for (const std::vector<TPlatformColor>& palette :
         {colours(256, 0, 255), colours(256, 100, 124), colours(1, 0, 255), colours(2, 0, 255)}) {
        NearestColour nearest(palette);
        auto distance = [](TPlatformColor c, int r, int g, int b) {
            return SquaredDistance(Red(c), Green(c), Blue(c), r, g, b);
        };
        for (int n = 0; n < 20000; ++n) {
            // Half the queries near the palette's colours, where the candidates crowd.
            const TPlatformColor base = palette[size_t(n) % palette.size()];
            const bool near = n % 2 == 0;
            const int r = near ? std::clamp(Red(base) + random(-5, 5), 0, 255) : random(0, 255);
            const int g = near ? std::clamp(Green(base) + random(-5, 5), 0, 255) : random(0, 255);
            const int b = near ? std::clamp(Blue(base) + random(-5, 5), 0, 255) : random(0, 255);
            int best = INT32_MAX;
            for (TPlatformColor c : palette)
                best = std::min(best, distance(c, r, g, b));
            const uint8_t found = nearest.Find(r, g, b);
            ASSERT_LT(found, palette.size());
            ASSERT_EQ(distance(palette[found], r, g, b), best) << r << "," << g << "," << b;
        }
    }
}

TEST(ReduceTextImage, KeepsThePicturesColoursAndGivesTheFreeEntriesToTheMostUsedNewOnes) {
    const TPlatformColor text = PlatformColor(0, 255, 0), shadow = PlatformColor(60, 40, 20),
                         faint = PlatformColor(200, 10, 10);
    for (size_t pictureColours : {3u, 255u, 256u}) {
        SCOPED_TRACE(pictureColours);
        std::vector<TPlatformColor> picture;
        for (uint32_t i = 0; i < pictureColours; ++i)
            picture.push_back(PlatformColor(uint8_t(i), uint8_t(i / 2), uint8_t(255 - i)));
        // Every picture colour, then text, shadow and one faint pixel, fewer of each.
        std::vector<TPlatformColor> piece = picture;
        piece.insert(piece.end(), 30, text);
        piece.insert(piece.end(), 20, shadow);
        piece.push_back(faint);
        const std::vector<TPlatformColor> out = ReduceTextImage(piece, picture);
        EXPECT_LE(ColourCount(out), 256u);
        EXPECT_TRUE(std::equal(picture.begin(), picture.end(), out.begin()));
        // The most used new colours take the free entries; the others become the nearest
        // colour of the table.
        std::vector<TPlatformColor> table = picture;
        const TPlatformColor added[] = {text, shadow, faint};
        table.insert(table.end(), added, added + std::min<size_t>(3, 256 - pictureColours));
        for (size_t at : {pictureColours, pictureColours + 30, piece.size() - 1}) {
            const TPlatformColor c = piece[at];
            const TPlatformColor expected = *std::min_element(
                table.begin(), table.end(), [c](TPlatformColor a, TPlatformColor b) {
                    return SquaredDistance(Red(a), Green(a), Blue(a), Red(c), Green(c), Blue(c)) <
                           SquaredDistance(Red(b), Green(b), Blue(b), Red(c), Green(c), Blue(c));
                });
            EXPECT_EQ(out[at], expected) << std::hex << c;
        }
    }
}

} // namespace
