// The card's frames: every transition at 0, 1/4, 1/2, 3/4 and the end of its time, pinned by
// hashes so that one pixel changed fails; the restored background; text images landing
// exactly where they were placed, clipped to the card; frames that depend on the moment alone.

#include "Compositor.h"
#include "PngFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>

namespace {

constexpr int32_t kWidth = 40, kHeight = 30;

// Every pixel of a picture different from its neighbours, so that a shift by one shows.
TRgbImage Pattern(int32_t width, int32_t height, int seed) {
    TRgbImage image(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = uint8_t(x * 6 + seed * 70);
            p[1] = uint8_t(y * 8 + seed * 30);
            p[2] = uint8_t((x ^ y) * 5 + seed * 90);
        }
    return image;
}

class Pictures final : public TPictureSource {
  public:
    Pictures() {
        Add("a.gif", Pattern(kWidth, kHeight, 0));
        Add("b.gif", Pattern(kWidth, kHeight, 1));
        Add("text.gif", Pattern(14, 9, 2));
        Add("small.gif", Pattern(10, 6, 3));
        Add("large.gif", Pattern(kWidth + 9, kHeight + 5, 4));
    }
    void Add(const std::string& name, TRgbImage image) {
        pictures_[name] = std::make_shared<const TRgbImage>(std::move(image));
    }
    std::shared_ptr<const TRgbImage> Picture(const std::string& name) override {
        return pictures_.at(name);
    }

  private:
    std::map<std::string, std::shared_ptr<const TRgbImage>> pictures_;
};

TCardTimeline Card(const std::string& lines) {
    return ParsePlayerScript("40\r\n30\r\n" + lines);
}

uint64_t Fnv1a(const TRgbImage& image, uint64_t hash = 14695981039346656037ull) {
    for (uint8_t b : image.Rgb)
        hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

// The card with `picture` at its top-left corner, black elsewhere.
TRgbImage Placed(const TRgbImage& picture, TRgbImage card, int64_t left, int64_t top) {
    for (int64_t y = 0; y < card.Height; ++y)
        for (int64_t x = 0; x < card.Width; ++x)
            if (x >= left && x < left + picture.Width && y >= top && y < top + picture.Height)
                std::copy_n(picture.Pixel(int32_t(x - left), int32_t(y - top)), 3,
                            card.Pixel(int32_t(x), int32_t(y)));
    return card;
}

struct TransitionCase {
    const char* name;
    std::string lines; // the pictures before, then the line under test over 1000 ms
    uint64_t hash;     // of the frames at 0, 250, 500, 750 and 1000 ms
};

TEST(Compositor, EveryTransitionFromStartToEnd) {
    // A wait after the pictures before, so that the moment before the transition shows them.
    const std::string a = "t0:a.gif:0\r\nWait:100\r\n", text = "a0:text.gif:0,13,9\r\n";
    const std::vector<TransitionCase> cases = {
        {"open zoom", "s1: :1000,40,30\r\n", 0x234901d552e2a625},
        {"open slide down", "s2: :1000,40,30\r\n", 0x51121102c3c435e5},
        {"open slide right", "s3: :1000,40,30\r\n", 0x304d5e2a2839a1e5},
        {"scroll down", a + "t1:b.gif:1000\r\n", 0xc9bc716c4388d9dd},
        {"scroll up", a + "t2:b.gif:1000\r\n", 0x822c0c3271bec8cd},
        {"scroll left", a + "t3:b.gif:1000\r\n", 0xc08dcde333c70cbd},
        {"scroll right", a + "t4:b.gif:1000\r\n", 0xaea12dd538cc56ed},
        {"blinds", a + "t5:b.gif:1000\r\n", 0xe880fa81f180c4e5},
        {"mosaic", a + "t6:b.gif:1000\r\n", 0xb8cbcadbf4e07915},
        {"open horizontally", a + "t7:b.gif:1000\r\n", 0xc5c031f6013cb5fd},
        {"close horizontally", a + "t8:b.gif:1000\r\n", 0xde8dbeece580cc5d},
        {"open vertically", a + "t9:b.gif:1000\r\n", 0xa6ce5effe6daf2d},
        {"close vertically", a + "t10:b.gif:1000\r\n", 0x8677eb7b54c6607d},
        {"zoom", a + "t11:b.gif:1000\r\n", 0xa06bdc8e162981a},
        {"unfold", a + "t12:b.gif:1000\r\n", 0xf40386d0cdc25b45},
        {"restore by blinds", "t0:a.gif:0\r\n" + text + "Wait:100\r\nt5:%:1000\r\n",
         0x2cee29502e333455},
        {"text slide down", a + "a1:text.gif:1000,13,9\r\n", 0xfb2a75aa9c69a757},
        {"text slide up", a + "a2:text.gif:1000,13,9\r\n", 0x706c0028f7d7b437},
        {"text slide left", a + "a3:text.gif:1000,13,9\r\n", 0x8c55fb75e3b59ba1},
        {"text slide right", a + "a4:text.gif:1000,13,9\r\n", 0x65a1e326db9c5b7d},
        {"text blinds", a + "a5:text.gif:1000,13,9\r\n", 0x9f411afde979e445},
        {"text mosaic", a + "a6:text.gif:1000,13,9\r\n", 0x2d695fb46809238f},
    };
    Pictures pictures;
    for (const TransitionCase& c : cases) {
        SCOPED_TRACE(c.name);
        TCompositor card(Card(c.lines), pictures);
        const int64_t start = card.Timeline().Steps.back().Start;
        ASSERT_EQ(card.Timeline().End, start + 1000);
        const TRgbImage before = card.FrameAt(start - 1);
        const TRgbImage after = card.FrameAt(start + 1000);
        uint64_t hash = 14695981039346656037ull;
        std::vector<TRgbImage> frames;
        for (const int64_t ms : {0, 250, 500, 750, 1000}) {
            frames.push_back(card.FrameAt(start + ms));
            hash = Fnv1a(frames.back(), hash);
            if (ms > 0 && ms < 1000) {
                EXPECT_NE(frames.back(), after) << ms;
            }
        }
        EXPECT_EQ(frames.front(), before) << "nothing drawn at the start";
        EXPECT_EQ(hash, c.hash) << std::hex << "0x" << hash;
        if (hash != c.hash) // the frames to look at
            for (size_t i = 0; i < frames.size(); ++i)
                WritePng(testing::TempDir() + c.name + "-" + std::to_string(i) + ".png", frames[i]);
    }
}

TEST(Compositor, FramesComeBeforeAndAfterTheirTransitions) {
    Pictures pictures;
    const TRgbImage a = pictures.Picture("a.gif").operator*(), b = *pictures.Picture("b.gif");
    const TRgbImage black(kWidth, kHeight);
    TCompositor card(Card("s1: :1000,40,30\r\nt6:a.gif:1000\r\nWait:500\r\nt12:b.gif:1000\r\n"),
                     pictures);
    EXPECT_EQ(card.FrameAt(0), black);
    EXPECT_EQ(card.FrameAt(1000), black) << "the window is open, nothing shown yet";
    EXPECT_EQ(card.FrameAt(2000), a);
    EXPECT_EQ(card.FrameAt(2499), a) << "waiting";
    EXPECT_EQ(card.FrameAt(3500), b);
    EXPECT_EQ(card.FrameAt(1'000'000), b) << "the card stays on its last picture";
}

TEST(Compositor, TheFrameAtAMomentDependsOnTheMomentAlone) {
    Pictures pictures;
    const std::string script = "s1: :400,40,30\r\nt6:a.gif:700\r\na6:text.gif:300,5,5\r\n"
                               "t8:b.gif:500\r\na2:text.gif:300,30,25\r\nt11:%:500\r\n";
    TCompositor forward(Card(script), pictures), shuffled(Card(script), pictures);
    std::vector<int64_t> moments;
    for (int64_t ms = -10; ms <= 2800; ms += 37)
        moments.push_back(ms);
    std::map<int64_t, uint64_t> hashes;
    for (int64_t ms : moments)
        hashes[ms] = Fnv1a(forward.FrameAt(ms));
    std::reverse(moments.begin(), moments.end());
    std::rotate(moments.begin(), moments.begin() + 30, moments.end());
    for (int64_t ms : moments)
        EXPECT_EQ(Fnv1a(shuffled.FrameAt(ms)), hashes[ms]) << ms;
}

// A player sleeps from a moment until the next change: no frame before it differs.
TEST(Compositor, NothingChangesBeforeTheNextChange) {
    Pictures pictures;
    TCompositor card(Card("s0: :100,40,30\r\nWave:w.wav\r\nt0:a.gif:200\r\nWait:50\r\n"
                          "a1:text.gif:300,5,5\r\nMidi:m.mid\r\nt6:b.gif:400\r\nt0:%:100\r\n"),
                     pictures);
    uint64_t before = Fnv1a(card.FrameAt(-5));
    int64_t next = card.NextChange(-5), changes = 0;
    for (int64_t ms = -4; ms <= 1300; ++ms) {
        const uint64_t hash = Fnv1a(card.FrameAt(ms));
        EXPECT_TRUE(ms >= next || hash == before) << ms;
        changes += hash != before;
        before = hash;
        next = card.NextChange(ms);
        ASSERT_GT(next, ms);
    }
    EXPECT_GT(changes, 3);
    EXPECT_EQ(next, TCompositor::kNoChange);
    EXPECT_EQ(card.NextChange(150), 350) << "the text's transition, after the sound and the wait";
}

TEST(Compositor, RestoringShowsTheLastBackgroundWithoutTheTextsOverIt) {
    Pictures pictures;
    const TRgbImage b = *pictures.Picture("b.gif");
    TCompositor card(Card("t0:a.gif:0\r\na0:text.gif:0,1,1\r\nt0:b.gif:0\r\n"
                          "a0:text.gif:0,13,9\r\na0:text.gif:0,30,20\r\nWait:10\r\nt0:%:0\r\n"),
                     pictures);
    EXPECT_NE(card.FrameAt(0), b);
    EXPECT_EQ(card.FrameAt(10), b);
    // Before any background there is none to restore: the card goes black.
    TCompositor none(Card("t0:%:0\r\n"), pictures);
    EXPECT_EQ(none.FrameAt(0), TRgbImage(kWidth, kHeight));
}

TEST(Compositor, PicturesLandExactlyAtTheirPlaceClippedToTheCard) {
    Pictures pictures;
    const TRgbImage a = *pictures.Picture("a.gif"), text = *pictures.Picture("text.gif");
    const int64_t places[][2] = {{13, 9},
                                 {0, 0},
                                 {26, 21},
                                 {-5, -3},
                                 {35, 25},
                                 {40, 30},
                                 {-14, 0},
                                 {1'000'000, 2},
                                 {3, -9},
                                 {INT32_MIN, INT32_MAX},
                                 {INT32_MAX, INT32_MIN}};
    for (const auto& [x, y] : places) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        const std::string line = "a4:text.gif:100," + std::to_string(x) + "," + std::to_string(y);
        TCompositor card(Card("t0:a.gif:0\r\n" + line + "\r\n"), pictures);
        card.FrameAt(50); // half way, to draw the clipped area
        EXPECT_EQ(card.FrameAt(100), Placed(text, a, x, y));
    }
    // Backgrounds lie at the top-left corner, black around a smaller one, a larger one cut.
    for (const char* name : {"small.gif", "large.gif"}) {
        TCompositor card(Card("t11:" + std::string(name) + ":100\r\n"), pictures);
        card.FrameAt(50);
        EXPECT_EQ(card.FrameAt(100), Placed(*pictures.Picture(name), TRgbImage(40, 30), 0, 0));
    }
}

TEST(Compositor, ACardWithoutBackgroundIsASmallBlackWindow) {
    Pictures pictures;
    TCompositor card(ParsePlayerScript("0\r\n0\r\ns1: :1000,0,0\r\nWait:1000\r\n"), pictures);
    EXPECT_EQ(card.FrameAt(5000), TRgbImage(320, 240));
}

} // namespace
