// How much each pixel of a picture stands out from its neighbours.
#pragma once

#include "ColorTbl.h"

#include <cstdint>
#include <span>
#include <vector>

// For each pixel (width x height, rows top to bottom, top byte ignored): over red, green and
// blue, the largest sum of its differences to the four pixels beside, above and below it (an
// edge of the picture repeats its pixels), at most 255. Near 0 on smooth shading, where
// quantization shows; high on edges, texture and noise, which hide it.
std::vector<uint8_t> LocalContrast(std::span<const TPlatformColor> pixels, int32_t width, int32_t height);
