// Frames written as PNG read back by libpng, pixel for pixel.

#include "PngFile.h"

#include <gtest/gtest.h>
#include <png.h>

namespace {

TEST(PngFile, ReadsBackThroughLibpngPixelForPixel) {
    for (const auto& [width, height] : {std::pair{1, 1}, {7, 5}, {300, 2}}) {
        TRgbImage image(width, height);
        for (size_t i = 0; i < image.Rgb.size(); ++i)
            image.Rgb[i] = uint8_t(i * 37 + i / 3);
        const std::vector<uint8_t> png = PngBytes(image);

        png_image read{};
        read.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&read, png.data(), png.size()))
            << read.message;
        EXPECT_EQ(read.width, png_uint_32(width));
        EXPECT_EQ(read.height, png_uint_32(height));
        read.format = PNG_FORMAT_RGB;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(read));
        ASSERT_TRUE(png_image_finish_read(&read, nullptr, pixels.data(), 0, nullptr))
            << read.message;
        EXPECT_EQ(pixels, image.Rgb);
    }
}

} // namespace
