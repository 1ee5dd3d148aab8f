// The reduction of a picture to the fixed halftone palette, which stands in for the desktop's
// 256-colour halftone conversion.
#pragma once

#include "PictureServices.h"

#include <cstdint>

// Every pixel becomes a palette colour. A palette colour stays as it is, so reducing twice
// changes nothing. Other colours are dithered with an 8 x 8 Bayer matrix: a near-grey between
// the two palette greys around its mean, anything else component by component between the
// cube levels around it. The threshold depends on where the pixel lies in the whole picture,
// (originX, originY) being the place of `picture`'s top-left pixel there, so that a piece cut
// from a picture reduces to the same pixels as the same place of the reduced whole.
TPicture ReduceToHalftone(const TPicture& picture, int32_t originX = 0, int32_t originY = 0);
