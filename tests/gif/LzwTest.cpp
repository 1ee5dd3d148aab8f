#include "GifTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

using namespace giftest;

namespace {

std::vector<std::vector<uint8_t>> Blocks(const TByteBuffer& b) {
    std::vector<std::vector<uint8_t>> out;
    for (int i = 1; i <= b.BlockCount(); ++i) {
        auto block = b.GetBlock(i);
        out.emplace_back(block.begin(), block.end());
    }
    return out;
}

std::vector<std::vector<uint8_t>> Encode(const std::vector<uint8_t>& pixels, int codeSize) {
    TByteBuffer out;
    LzwEncode(pixels, codeSize, out);
    return Blocks(out);
}

std::vector<uint8_t> RandomPixels(size_t n, int colors, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> p(n);
    for (auto& v : p) v = uint8_t(rng() % uint32_t(colors));
    return p;
}

// Decodes a raw code stream into a width x height matrix.
TByteArray2D Decode(const std::vector<uint8_t>& data, int codeSize, int width, int height,
                    bool interlaced = false) {
    TByteArray2D m(width, height);
    LzwDecode(data, codeSize, interlaced, m);
    return m;
}

void ExpectGifError(const std::function<void()>& f, const std::string& message) {
    try {
        f();
        ADD_FAILURE() << "expected EGifException: " << message;
    } catch (const EGifException& e) {
        EXPECT_EQ(e.what(), message);
    }
}

TEST(LzwEncoder, SmallImagesGiveTheDocumentedCodes) {
    using V = std::vector<std::vector<uint8_t>>;
    EXPECT_EQ(Encode({0, 0, 0, 0}, 2), (V{{0x84, 0x51}})) << "codes 4 0 6 0 5 in 3 bits";
    EXPECT_EQ(Encode({3}, 2), (V{PackCodes({{4, 3}, {3, 3}, {5, 3}})}));
    EXPECT_EQ(Encode({1, 2}, 2), (V{PackCodes({{4, 3}, {1, 3}, {2, 3}, {5, 3}})}));
    EXPECT_EQ(Encode({200}, 8), (V{PackCodes({{256, 9}, {200, 9}, {257, 9}})}));
}

TEST(LzwEncoder, RefusesWhatItCannotWrite) {
    TByteBuffer out;
    EXPECT_THROW(LzwEncode({}, 2, out), EIndexOutOfBounds);
    ExpectGifError([&] { LzwEncode(std::vector<uint8_t>{0, 4}, 2, out); },
                   "Pixel value too large for the image's code size");
}

TEST(LzwEncoder, BytesMatchThePlainLinearSearchEncoder) {
    // Varied pictures: every code size, runs and noise, tables filled many times over.
    struct Case { int codeSize, colors; std::string kind; int width, height; };
    const Case cases[] = {
        {2, 2, "random", 317, 211}, {2, 4, "random", 640, 100}, {4, 16, "flat", 500, 300},
        {4, 11, "photo", 400, 400}, {8, 256, "photo", 640, 480}, {8, 256, "random", 300, 300},
        {8, 200, "flat", 800, 600}, {3, 8, "photo", 123, 457}, {7, 128, "random", 257, 255},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> pixels = ToVector(MakePicture(c.width, c.height, c.colors, c.kind, 7));
        EXPECT_EQ(Encode(pixels, c.codeSize), PlainLzwEncode(pixels, c.codeSize))
            << c.kind << " " << c.width << "x" << c.height << " code size " << c.codeSize;
    }
    // Long runs of one colour make the longest strings the table can hold.
    EXPECT_EQ(Encode(std::vector<uint8_t>(3'000'000, 1), 2), PlainLzwEncode(std::vector<uint8_t>(3'000'000, 1), 2));
}

TEST(LzwEncoder, BlocksAreCutAt255Bytes) {
    // Find streams whose packed length is exactly 255 and 256 bytes, among growing prefixes
    // of noise. The lengths reachable depend only on the code widths, so try a few sizes.
    bool found255 = false, found256 = false;
    for (int codeSize = 2; codeSize <= 8 && !(found255 && found256); ++codeSize) {
        const std::vector<uint8_t> noise = RandomPixels(1200, 1 << codeSize, uint32_t(codeSize));
        for (size_t n = 1; n <= noise.size(); ++n) {
            const auto blocks = Encode({noise.begin(), noise.begin() + long(n)}, codeSize);
            size_t total = 0;
            for (const auto& b : blocks) total += b.size();
            if (total == 255) {
                found255 = true;
                ASSERT_EQ(blocks.size(), 1u) << "no empty block after a full one";
            }
            if (total == 256) {
                found256 = true;
                ASSERT_EQ(blocks.size(), 2u);
                EXPECT_EQ(blocks[0].size(), 255u);
                EXPECT_EQ(blocks[1].size(), 1u);
            }
        }
    }
    EXPECT_TRUE(found255 && found256);
}

TEST(LzwDecoder, ReversesTheEncoderAcrossTableRefills) {
    for (int codeSize : {2, 4, 8}) {
        const int colors = 1 << codeSize;
        for (const char* kind : {"random", "photo", "flat"}) {
            const TByteArray2D picture = MakePicture(531, 377, colors, kind, 3);
            TByteBuffer data;
            LzwEncode(ToVector(picture), codeSize, data);
            EXPECT_EQ(ToVector(Decode({data.Bytes().begin(), data.Bytes().end()}, codeSize, 531, 377)),
                      ToVector(picture))
                << kind << " code size " << codeSize;
        }
    }
}

TEST(LzwDecoder, TableFullOnTheLastStringIsFollowedByTheEndCode) {
    // Find an image length at which the table becomes full with the last string.
    const std::vector<uint8_t> noise = RandomPixels(200'000, 4, 11);
    std::vector<size_t> fullAfter;
    PlainLzwEncode(noise, 2, &fullAfter);
    ASSERT_FALSE(fullAfter.empty());
    const std::vector<uint8_t> pixels(noise.begin(), noise.begin() + long(fullAfter[0]));

    std::vector<size_t> lastFull;
    const auto expected = PlainLzwEncode(pixels, 2, &lastFull);
    ASSERT_EQ(lastFull, std::vector<size_t>{pixels.size()}) << "the table fills on the last string";
    const auto blocks = Encode(pixels, 2);
    ASSERT_EQ(blocks, expected);

    // No clear code follows: the last 12-bit code is the end code 5 (read back as data).
    std::vector<uint8_t> data;
    for (const auto& b : blocks) data.insert(data.end(), b.begin(), b.end());
    EXPECT_EQ(ToVector(Decode(data, 2, int(pixels.size()), 1)), pixels);
    ASSERT_LT(pixels.size(), 65536u);
    EXPECT_EQ(DecodeWithGiflib(OneImageFile(uint16_t(pixels.size()), 1, 2, data)).pixels, pixels)
        << "an independent decoder reads the same pixels";
}

TEST(LzwDecoder, ControlCodeRules) {
    // Code size 2: clear 4, end 5, first free 6, width 3.
    EXPECT_EQ(ToVector(Decode(PackCodes({{4, 3}, {4, 3}, {4, 3}, {1, 3}, {5, 3}}), 2, 1, 1)),
              std::vector<uint8_t>{1})
        << "repeated clear codes";
    ExpectGifError([] { Decode(PackCodes({{4, 3}, {5, 3}}), 2, 1, 1); }, "Bad code");
    EXPECT_EQ(ToVector(Decode(PackCodes({{7, 3}, {2, 3}, {5, 3}}), 2, 2, 1)), (std::vector<uint8_t>{0, 2}))
        << "a first code that is not a root decodes as pixel 0";
    ExpectGifError([] { Decode(PackCodes({{4, 3}, {1, 3}, {7, 3}, {5, 3}}), 2, 4, 1); }, "Bad code");
    EXPECT_EQ(ToVector(Decode(PackCodes({{5, 3}, {1, 3}}), 2, 2, 1)), (std::vector<uint8_t>{0, 0}))
        << "end code first: no row stored";
    for (int bad : {1, 10}) ExpectGifError([&] { Decode({0}, bad, 1, 1); }, "Bad code Size");
    EXPECT_EQ(ToVector(Decode(PackCodes({{512, 10}, {300, 10}, {513, 10}}), 9, 1, 1)),
              std::vector<uint8_t>{300 & 0xFF})
        << "code size 9 is accepted";
}

TEST(LzwDecoder, AFullTableKeepsItsTwelveBitCodesUntilTheNextClear) {
    // Fill the table with pixel 1 repeated: after clear and 1, the codes 6, 7, 8, ... each
    // name the string just assigned, one pixel longer each time, until 4095 is assigned.
    std::vector<std::pair<uint32_t, int>> filling{{4, 3}, {1, 3}};
    int pixels = 1, width = 3;
    for (uint32_t next = 6; next < 4096; ++next) {
        filling.push_back({next, width});
        pixels += int(next) - 4;
        if (next + 1 == (1u << width) && width < 12) ++width;
    }
    auto stream = [&](std::vector<std::pair<uint32_t, int>> tail) {
        std::vector<uint8_t> out;
        uint64_t bits = 0;
        int count = 0;
        auto put = [&](uint32_t code, int w) {
            bits |= uint64_t(code) << count;
            for (count += w; count >= 8; count -= 8, bits >>= 8) out.push_back(uint8_t(bits));
        };
        for (auto [code, w] : filling) put(code, w);
        for (auto [code, w] : tail) put(code, w);
        if (count) out.push_back(uint8_t(bits));
        return out;
    };
    // A deferred clear: codes of the full table follow, 12 bits wide, adding nothing.
    std::vector<uint8_t> tail(4095 - 4 + 2, 1); // 2, the longest run of 1 (code 4095), 3
    tail.front() = 2;
    tail.back() = 3;
    const std::vector<uint8_t> deferred = ToVector(Decode(stream({{2, 12}, {4095, 12}, {3, 12}, {5, 12}}), 2, pixels + int(tail.size()), 1));
    EXPECT_EQ(std::vector<uint8_t>(deferred.begin() + pixels, deferred.end()), tail);
    const auto undefinedAfterTheClear = [&] { Decode(stream({{2, 12}, {4, 12}, {1, 3}, {7, 3}}), 2, pixels + 4, 1); };
    ExpectGifError(undefinedAfterTheClear, "Bad code");
    // The end code may follow at once; a clear code restarts the table at 3 bits.
    EXPECT_EQ(Decode(stream({{5, 12}}), 2, pixels, 1).Get(pixels, 1), 1);
    const TByteArray2D m = Decode(stream({{4, 12}, {2, 3}, {5, 3}}), 2, pixels + 1, 1);
    EXPECT_EQ(m.Get(1, 1), 1);
    EXPECT_EQ(m.Get(pixels, 1), 1);
    EXPECT_EQ(m.Get(pixels + 1, 1), 2);
}

TEST(LzwDecoder, InterlacedRowsLandInPlace) {
    // One pixel per row: the stream's k-th pixel is k, so each row shows when it was decoded.
    for (int height = 1; height <= 5; ++height) {
        std::vector<uint8_t> pixels;
        for (int k = 0; k < height; ++k) pixels.push_back(uint8_t(k));
        TByteBuffer data;
        LzwEncode(pixels, 4, data);
        const auto rows = ToVector(Decode({data.Bytes().begin(), data.Bytes().end()}, 4, 1, height, true));
        std::vector<uint8_t> expected(static_cast<size_t>(height), 0);
        int pass = 1, row = 0;
        for (int k = 0; k < height; ++k) {
            expected[size_t(row)] = uint8_t(k);
            row = NextInterlacedRow(row, height, pass);
        }
        EXPECT_EQ(rows, expected) << "height " << height;
    }
}

TEST(LzwDecoder, DataEndingEarlyKeepsCompletedRowsOnly) {
    // 4 x 3 image, codes for 6 pixels filling exactly 3 bytes: the data stops mid-row 2.
    const auto data = PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {1, 4}, {2, 4}, {3, 4}});
    ASSERT_EQ(data.size(), 3u);
    const auto m = ToVector(Decode(data, 2, 4, 3));
    EXPECT_EQ(m, (std::vector<uint8_t>{1, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(LzwDecoder, LargeImageCutShortKeepsItsCompletedRowsAndNothingElse) {
    const TByteArray2D picture = MakePicture(300, 200, 256, "random", 9);
    for (const bool interlaced : {false, true}) {
        const TBigByteArray stream = FlattenPixels(picture, interlaced);
        TByteBuffer data;
        LzwEncode({stream.Data, size_t(stream.Count)}, 8, data);
        const auto all = data.Bytes();
        const TByteArray2D rows = Decode({all.begin(), all.begin() + long(all.size() / 2)}, 8, 300, 200, interlaced);
        // The rows in the order the stream holds them: the complete ones, then none at all.
        std::vector<int32_t> order{0};
        for (int pass = 1; order.size() < 200;)
            order.push_back(interlaced ? NextInterlacedRow(order.back(), 200, pass) : order.back() + 1);
        size_t complete = 0;
        while (complete < 200 && std::equal(rows.RowData(order[complete] + 1), rows.RowData(order[complete] + 1) + 300,
                                            picture.RowData(order[complete] + 1)))
            ++complete;
        EXPECT_GT(complete, 80u);
        EXPECT_LT(complete, 120u);
        for (size_t k = complete; k < 200; ++k)
            EXPECT_TRUE(std::all_of(rows.RowData(order[k] + 1), rows.RowData(order[k] + 1) + 300, [](uint8_t b) { return b == 0; }))
                << "the incomplete row and every row after it keep their initial bytes: row " << order[k]
                << (interlaced ? " interlaced" : "");
    }
}

TEST(LzwDecoder, DataBeyondTheLastPixelIsNotRead) {
    // 2 x 1 image: whatever follows its second pixel, even a whole extra row or a code never
    // defined, changes nothing; nor does any data of an image without pixels.
    for (const auto& codes : {PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {5, 4}}),
                              PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {3, 4}, {5, 4}}),
                              PackCodes({{4, 3}, {1, 3}, {2, 3}, {15, 4}, {15, 4}})})
        EXPECT_EQ(ToVector(Decode(codes, 2, 2, 1)), (std::vector<uint8_t>{1, 2}));
    for (auto [width, height] : {std::pair{0, 1}, {3, 0}})
        EXPECT_EQ(Decode(PackCodes({{4, 3}, {1, 3}, {7, 3}}), 2, width, height).Bytes.Count, 0);
}

} // namespace
