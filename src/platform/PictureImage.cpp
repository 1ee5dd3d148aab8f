#include "PictureImage.h"

#include "Rgb.h"

#include <cstddef>
#include <new>

QImage ToQImage(const TPicture& picture) {
    QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
    if (image.isNull() && picture.Width > 0 && picture.Height > 0) throw std::bad_alloc();
    for (int32_t y = 0; y < picture.Height; ++y) {
        const TPlatformColor* src = picture.Pixels.data() + size_t(y) * size_t(picture.Width);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int32_t x = 0; x < picture.Width; ++x)
            dst[x] = qRgb(int(src[x] & 0xFF), int(src[x] >> 8 & 0xFF), int(src[x] >> 16 & 0xFF));
    }
    return image;
}

TPicture FromQImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    TPicture picture;
    picture.Width = rgb.width();
    picture.Height = rgb.height();
    picture.Pixels.resize(size_t(picture.Width) * size_t(picture.Height));
    for (int32_t y = 0; y < picture.Height; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        TPlatformColor* dst = picture.Pixels.data() + size_t(y) * size_t(picture.Width);
        for (int32_t x = 0; x < picture.Width; ++x)
            dst[x] = PlatformColor(uint8_t(qRed(src[x])), uint8_t(qGreen(src[x])),
                                   uint8_t(qBlue(src[x])));
    }
    return picture;
}
