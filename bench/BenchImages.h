// The generated pictures as Qt images, for the benchmarks that write or read picture files.
#pragma once

#include "BenchPictures.h"

#include <QImage>

// `pixels` (the picture's size, platform colour values) as an opaque 32-bit image.
inline QImage ToImage(const TrueColourPicture& p, const std::vector<TPlatformColor>& pixels) {
    QImage image(p.width, p.height, QImage::Format_RGB32);
    for (int y = 0; y < p.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < p.width; ++x) {
            const TPlatformColor c = pixels[size_t(y) * size_t(p.width) + size_t(x)];
            row[x] = qRgb(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));
        }
    }
    return image;
}
