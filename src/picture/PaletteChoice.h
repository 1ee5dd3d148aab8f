// The colours that best stand for a picture.
#pragma once

#include "ColorTbl.h"

#include <cstdint>
#include <span>
#include <vector>

// At most `count` (1 to 256) distinct colours chosen for the pixels (top byte ignored): the
// colours are cut into boxes, always splitting the box of the largest squared error where the
// split removes the most of it, then each box's mean is refined by k-means on the pixels'
// colours; a colour that holds at least half of its box's pixels is kept exactly. Each pixel
// counts with its weight (1 to 255; all 1 when `weights` is empty), so that the colours go
// where errors would show most. Deterministic.
std::vector<TPlatformColor> ChoosePalette(std::span<const TPlatformColor> pixels, int count,
                                          std::span<const uint8_t> weights = {});
