#include "TextCapture.h"

#include "TextImageColours.h"

#include <algorithm>

namespace {
// The picture's pixels from (left, top) to (right, bottom), all on the picture.
TPicture CutRectangle(const TPicture& picture, int32_t left, int32_t top, int32_t right,
                      int32_t bottom) {
    TPicture piece;
    piece.Width = right - left;
    piece.Height = bottom - top;
    piece.Pixels.resize(size_t(piece.Width) * size_t(piece.Height));
    for (int32_t row = top; row < bottom; ++row) {
        const TPlatformColor* src = picture.Pixels.data() + size_t(row) * size_t(picture.Width);
        std::copy(src + left, src + right,
                  piece.Pixels.data() + size_t(row - top) * size_t(piece.Width));
    }
    return piece;
}
} // namespace

TPicture TextImageSource(const TPicture& picture, int32_t x, int32_t y, int64_t labelWidth,
                         int64_t labelHeight) {
    // Down to the capture's corner at least, which gives its pixel when it has no other.
    const auto end = [](int64_t captureEnd, int32_t corner, int32_t size) {
        return int32_t(std::clamp<int64_t>(std::max<int64_t>(captureEnd, corner + int64_t(1)), 0, size));
    };
    return CutRectangle(picture, 0, 0, end(x + labelWidth + 2, TextImageEdge(x), picture.Width),
                        end(y + labelHeight, TextImageEdge(y), picture.Height));
}

std::unique_ptr<TGifFile> CaptureTextImage(const TPicture& picture,
                                           std::span<const TPlatformColor> pictureColours,
                                           int32_t x, int32_t y, int64_t labelWidth,
                                           int64_t labelHeight) {
    const int32_t left = TextImageEdge(x), top = TextImageEdge(y);
    const int64_t right = std::min<int64_t>(x + labelWidth + 2, picture.Width);
    const int64_t bottom = std::min<int64_t>(y + labelHeight, picture.Height);
    TPicture piece;
    if (right > left && bottom > top)
        piece = CutRectangle(picture, left, top, int32_t(right), int32_t(bottom));
    else if (left < picture.Width && top < picture.Height)
        piece = CutRectangle(picture, left, top, left + 1, top + 1);
    else
        piece = TPicture{1, 1, {0}}; // black

    const TPicture reduced{piece.Width, piece.Height,
                           ReduceTextImage(piece.Pixels, pictureColours)};
    TColorTable table;
    const TByteArray2D indices = BitmapToIndexed(reduced.View(), table);
    auto gif = std::make_unique<TGifFile>();
    gif->AddImage(table, indices);
    return gif;
}
