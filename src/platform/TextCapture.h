// The text image: the piece of a picture under a text label, with the label drawn in,
// reduced to at most 256 colours and indexed into a one-image GIF model.
#pragma once

#include "PictureServices.h"

#include <cstdint>
#include <memory>
#include <span>

// The capture rectangle reaches from the label's corner (x, y) to 2 pixels past its right
// edge, but not past the picture's right or bottom edge; it is not extended downwards. Only
// its part on the picture is kept, from (TextImageEdge(x), TextImageEdge(y)), where the card
// draws it: the image is never larger than the picture, whatever the label's size and place.
// A rectangle with no pixel of the picture gives one pixel at that corner: the picture's own
// there, or black outside it (outside the card's window), so the card still builds and shows
// nothing of the label.
// `pictureColours` are the colours of the reduced picture before the label was drawn: pixels of
// those colours stay as they are, so the card shows no edge where the image lies over the
// picture; only the colours the text and its shadow added are chosen (ReduceTextImage).
std::unique_ptr<TGifFile> CaptureTextImage(const TPicture& picture,
                                           std::span<const TPlatformColor> pictureColours,
                                           int32_t x, int32_t y, int64_t labelWidth,
                                           int64_t labelHeight);

// The top-left part of `picture` that the text image of a label at (x, y) depends on: the
// label is drawn inside the capture rectangle and a shadow falls only right and down, so
// nothing right of or below the rectangle counts. Drawing on it and capturing from it gives
// the same image as from the whole picture, at the cost of the part only.
TPicture TextImageSource(const TPicture& picture, int32_t x, int32_t y, int64_t labelWidth,
                         int64_t labelHeight);
