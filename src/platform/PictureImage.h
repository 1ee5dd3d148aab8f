// Pictures between the card's plain pixels and Qt's images.
#pragma once

#include "PictureServices.h"

#include <QImage>

// An opaque 32-bit image of the picture's pixels.
QImage ToQImage(const TPicture& picture);
// The image's pixels, any alpha dropped.
TPicture FromQImage(const QImage& image);
