// Pictures drawn with the colours of a palette, their errors spread to the neighbours.
#pragma once

#include "ColorTbl.h"

#include <cstdint>
#include <span>
#include <vector>

// Each pixel (width x height, rows top to bottom) becomes the palette colour nearest to it plus
// the error its neighbours passed on. Floyd-Steinberg weights, each row walked in the
// direction opposite to the last, so errors do not drift one way into diagonal streaks. With
// the pixels' LocalContrast, errors fade on texture and edges, where they would only speckle.
// Integer arithmetic throughout: the same pixels on every machine.
std::vector<TPlatformColor> DiffuseToPalette(std::span<const TPlatformColor> pixels, int32_t width,
                                             int32_t height,
                                             std::span<const TPlatformColor> palette,
                                             std::span<const uint8_t> contrast = {});
