// The reduction of a picture to at most 256 colours, which every background that is not a GIF
// goes through before it becomes one.
#pragma once

#include "ColorTbl.h"

#include <cstdint>
#include <span>
#include <vector>

// The pixels (width x height, rows top to bottom, top byte ignored) in at most 256 colours.
// A picture of 256 colours or fewer comes back as it is; any other gets a palette chosen for
// it (ChoosePalette, its smooth parts weighing most) and is drawn with it by error diffusion
// (DiffuseToPalette, fading on texture and edges). The same pixels give the same result every
// time.
std::vector<TPlatformColor> ReduceTo256Colours(std::span<const TPlatformColor> pixels,
                                               int32_t width, int32_t height);
