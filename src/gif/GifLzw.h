// The variable-width LZW code streams of GIF image data: the two directions of the codec
// over a pixel stream.
#pragma once

#include "DynArrB.h"
#include "GifDecl.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

// Raises EGifException "Bad code Size" unless 2 <= codeSize <= 9.
void CheckCodeSize(int codeSize);

// Compresses `pixels` (every value below 2^codeSize) into `output`. An empty stream raises
// EIndexOutOfBounds; a pixel value too large for the code size raises EGifException.
void LzwEncode(std::span<const uint8_t> pixels, int codeSize, TByteBuffer& output);

// Decompresses `data` into the rows of `pixels`, top to bottom or in interlaced order.
// Data that ends before the end code leaves the rows not completed as they were; data after
// the image's last pixel is not read.
void LzwDecode(std::span<const uint8_t> data, int codeSize, bool interlaced, TByteArray2D& pixels);
