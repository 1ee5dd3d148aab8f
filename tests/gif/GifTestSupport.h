// Shared helpers of the codec tests: hand-made code streams and files, test pictures,
// a plain reference LZW encoder, and giflib as the peer decoder and encoder.
#pragma once

#include "GifUnit.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace giftest {

// Packs (code, width) pairs least significant bit first, padding the last byte with zeros.
std::vector<uint8_t> PackCodes(std::initializer_list<std::pair<uint32_t, int>> codes);

// A one-image GIF87a file: 2-colour global table, the given descriptor fields, code size and
// data; the data is cut into sub-blocks of at most 255 bytes.
std::vector<uint8_t> OneImageFile(uint16_t width, uint16_t height, uint8_t codeSize,
                                  const std::vector<uint8_t>& data, bool interlaced = false);

// Width x height indices below `colors`; `kind` picks the look:
// "photo": smooth gradients with noise (little repetition), "flat": large areas of one
// colour with a few shapes, "random": noise.
TByteArray2D MakePicture(int32_t width, int32_t height, int colors, const std::string& kind,
                         uint32_t seed = 1);

TColorTable MakeColorMap(int colors);

// The blocks the encoder must produce, computed the plain way: a linear search of the string
// table for every pixel, bit by bit packing, blocks cut at 255 bytes. `fullAfter` receives,
// for every time the table filled, the number of pixels encoded when that string was written.
std::vector<std::vector<uint8_t>> PlainLzwEncode(const std::vector<uint8_t>& pixels, int codeSize,
                                                 std::vector<size_t>* fullAfter = nullptr);

std::vector<uint8_t> ToVector(const TByteArray2D& m);

struct PeerImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;          // first image, de-interlaced
    std::vector<TColorRGB> colors;        // the colour map in effect for it
    int error = 0;                        // giflib's error code, 0 when decoded
};

PeerImage DecodeWithGiflib(const std::vector<uint8_t>& file);
std::vector<uint8_t> EncodeWithGiflib(const TByteArray2D& pixels, const TColorTable& colors,
                                      bool interlaced);

std::vector<uint8_t> ReadFile(const std::string& path);
std::string DataPath(const std::string& relative); // inside tests/data

} // namespace giftest
