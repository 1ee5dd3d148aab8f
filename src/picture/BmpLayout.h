// Where a BMP file's header says its pixels lie, checked against the file before a reader
// decodes it: a reader that fills pixels it cannot find with black would turn a damaged file
// into a black picture.
#pragma once

#include <cstdint>
#include <span>

// True when the file's header is readable and places the pixel data, or part of it, outside
// the file: an offset past its end, or fewer bytes after the offset than its rows need (the
// last row's padding aside). Anything else is left to the reader to judge.
bool BmpPixelsOutsideFile(std::span<const uint8_t> file);
