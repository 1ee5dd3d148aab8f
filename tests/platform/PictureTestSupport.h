// Pictures for the picture and text image tests: generated in a scratch folder per test.
#pragma once

#include "GifUnit.h"
#include "PictureImage.h"
#include "PictureServices.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

inline TPlatformColor Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return TPlatformColor(r) | TPlatformColor(g) << 8 | TPlatformColor(b) << 16;
}

inline TPlatformColor PixelAt(const TPicture& p, int32_t x, int32_t y) {
    return p.Pixels[size_t(y) * size_t(p.Width) + size_t(x)];
}

inline TPicture Filled(int32_t width, int32_t height, TPlatformColor color) {
    return {width, height, std::vector<TPlatformColor>(size_t(width) * size_t(height), color)};
}

inline TPicture Crop(const TPicture& p, int32_t left, int32_t top, int32_t width, int32_t height) {
    TPicture piece{width, height, {}};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            piece.Pixels.push_back(PixelAt(p, left + x, top + y));
    return piece;
}

// Smooth shading in all three components with a little noise: nearly every pixel a colour of
// its own, like a photograph.
inline TPicture PhotoLike(int32_t width, int32_t height) {
    TPicture p{width, height, {}};
    uint32_t noise = 12345;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = int(noise >> 28) - 8;
            auto clamp = [](int v) { return uint8_t(std::clamp(v, 0, 255)); };
            p.Pixels.push_back(Rgb(clamp(x * 255 / std::max(1, width - 1) + n),
                                   clamp(y * 255 / std::max(1, height - 1) - n),
                                   clamp((x + 2 * y) % 256 + n)));
        }
    return p;
}

// The pixels of a text image as a card player reads them: saved as GIF bytes, read back.
inline TPicture GifPixels(TGifFile& gif) {
    TGifFile read;
    read.LoadFromMemory(gif.SaveToMemory());
    const TIndexedBitmap bitmap = read.ToBitmap();
    TPicture p{bitmap.Width, bitmap.Height, {}};
    for (uint8_t i : bitmap.Indices)
        p.Pixels.push_back(
            Rgb(bitmap.Palette[i].Red, bitmap.Palette[i].Green, bitmap.Palette[i].Blue));
    return p;
}

class PictureFiles : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    std::string SaveBmp(const std::string& name, const TPicture& picture) const {
        const std::string path = Path(name);
        EXPECT_TRUE(ToQImage(picture).save(QString::fromStdString(path), "BMP"));
        return path;
    }
    // With our codec; the picture has at most 256 colours.
    std::string SaveGif(const std::string& name, const TPicture& picture) const {
        TColorTable table;
        const TByteArray2D indices = BitmapToIndexed(picture.View(), table);
        TGifFile gif;
        gif.AddImage(table, indices);
        const std::string path = Path(name);
        gif.SaveToFile(path);
        return path;
    }

private:
    QTemporaryDir dir_;
};
