#include "GifPicture.h"

#include "GifUnit.h"

TRgbImage DecodeGifPicture(std::span<const uint8_t> gif) {
    TGifFile file;
    file.LoadFromMemory(gif);
    const TIndexedBitmap bitmap = file.ToBitmap();
    TRgbImage image(bitmap.Width, bitmap.Height);
    uint8_t* to = image.Rgb.data();
    for (const uint8_t index : bitmap.Indices) {
        const TColorRGB& c = bitmap.Palette[index];
        *to++ = c.Red, *to++ = c.Green, *to++ = c.Blue;
    }
    return image;
}
