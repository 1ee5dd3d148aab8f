// The colours of a text image: the piece of a reduced picture under a text label, with the
// text and its shadow drawn in.
#pragma once

#include "ColorTbl.h"

#include <span>
#include <vector>

// The piece's pixels in at most 256 colours, seamless with the picture around it: a pixel of
// one of `pictureColours` (the colours of the reduced picture the piece was cut from) stays as
// it is. The colours the text and its shadow added take the table entries those leave free,
// the most used first (the text's own colour among them), and any that find no entry become
// the nearest colour of the table.
std::vector<TPlatformColor> ReduceTextImage(std::span<const TPlatformColor> pixels,
                                            std::span<const TPlatformColor> pictureColours);
