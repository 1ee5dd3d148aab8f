#include "TextCapture.h"

#include "TextImageColours.h"

#include <algorithm>

namespace {
// The label's corner stays the image's corner and is always in the capture. Beyond
// 65535 pixels no GIF can hold the image, so the check comes before any allocation.
TPicture CutRectangle(const TPicture& picture, int64_t left, int64_t top, int64_t right,
                      int64_t bottom) {
    constexpr int64_t kMaxGifSide = 0xFFFF;
    if (right - left > kMaxGifSide || bottom - top > kMaxGifSide)
        throw EGifException(kMsgImageTooWide);
    TPicture piece;
    piece.Width = int32_t(right - left);
    piece.Height = int32_t(bottom - top);
    piece.Pixels.assign(size_t(piece.Width) * size_t(piece.Height), 0); // black
    const int64_t fromX = std::max<int64_t>(left, 0), fromY = std::max<int64_t>(top, 0);
    for (int64_t row = fromY; row < bottom; ++row) {
        const TPlatformColor* src = picture.Pixels.data() + size_t(row) * size_t(picture.Width);
        TPlatformColor* dst = piece.Pixels.data() + size_t(row - top) * size_t(piece.Width);
        std::copy(src + fromX, src + right, dst + (fromX - left));
    }
    return piece;
}
} // namespace

std::unique_ptr<TGifFile> CaptureTextImage(const TPicture& picture,
                                           std::span<const TPlatformColor> pictureColours,
                                           int32_t x, int32_t y, int64_t labelWidth,
                                           int64_t labelHeight) {
    const int64_t right = std::min<int64_t>(x + labelWidth + 2, picture.Width);
    const int64_t bottom = std::min<int64_t>(y + labelHeight, picture.Height);
    const bool outside = right <= std::max<int64_t>(x, 0) || bottom <= std::max<int64_t>(y, 0);
    const TPicture piece =
        outside ? TPicture{1, 1, {0}} : CutRectangle(picture, x, y, right, bottom);

    const TPicture reduced{piece.Width, piece.Height,
                           ReduceTextImage(piece.Pixels, pictureColours)};
    TColorTable table;
    const TByteArray2D indices = BitmapToIndexed(reduced.View(), table);
    auto gif = std::make_unique<TGifFile>();
    gif->AddImage(table, indices);
    return gif;
}
