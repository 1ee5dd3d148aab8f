// The text image: the piece of a picture under a text label, with the label drawn in,
// reduced to at most 256 colours and indexed into a one-image GIF model.
#pragma once

#include "PictureServices.h"

#include <cstdint>
#include <memory>
#include <span>

// The capture rectangle reaches from the label's corner (x, y) to 2 pixels past its right
// edge, but not past the picture's right or bottom edge; it is not extended downwards.
// Columns or rows of it before the picture's left or top edge (a label at a negative
// position, from a script file) are black: the card draws the image at (x, y), so keeping
// them holds the rest in place, and they fall outside the card's window as they do here.
// A rectangle with no pixel of the picture gives one black pixel, which the card likewise
// draws outside its window, so the card still builds and shows nothing of the label.
// `pictureColours` are the colours of the reduced picture before the label was drawn: pixels of
// those colours stay as they are, so the card shows no edge where the image lies over the
// picture; only the colours the text and its shadow added are chosen (ReduceTextImage).
std::unique_ptr<TGifFile> CaptureTextImage(const TPicture& picture,
                                           std::span<const TPlatformColor> pictureColours,
                                           int32_t x, int32_t y, int64_t labelWidth,
                                           int64_t labelHeight);
