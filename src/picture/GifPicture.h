// A packed GIF picture made ready to show: its first image in 24-bit colour.
#pragma once

#include "RgbImage.h"

#include <cstdint>
#include <span>

// Throws the codec's exceptions (EGifException, EInOutError, EListError) for a damaged file.
TRgbImage DecodeGifPicture(std::span<const uint8_t> gif);
