// Frames written as PNG files: 8-bit RGB, compressed with zlib, readable by any viewer.
#pragma once

#include "RgbImage.h"

#include <string>
#include <vector>

std::vector<uint8_t> PngBytes(const TRgbImage& image);
// Creates or replaces the file once it is complete (not waiting for the disk: frames are many
// and made again at will); EInOutError when it cannot be written, and the file that stood
// there is kept.
void WritePng(const std::string& path, const TRgbImage& image);
