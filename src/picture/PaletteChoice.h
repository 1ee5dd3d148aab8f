// The colours that best stand for a picture.
#pragma once

#include "ColorTbl.h"

#include <span>
#include <vector>

// At most `count` distinct colours chosen for the pixels (top byte ignored): the colours are
// cut into boxes, always splitting the box of the largest squared error where the split
// removes the most of it, then each box's mean is refined by k-means on the pixels'
// colours. Deterministic.
std::vector<TPlatformColor> ChoosePalette(std::span<const TPlatformColor> pixels, int count);
