#include "Compositor.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kNoStep = size_t(-1);

// The overlap of `image` placed with its corner at (x, y) with a width x height card, as
// the rectangle on the card; 64-bit so that corners near the limits of int32 cannot wrap.
TRect Placed(const TRgbImage& image, int64_t x, int64_t y, int32_t width, int32_t height) {
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(x + image.Width, width);
    const int64_t bottom = std::min<int64_t>(y + image.Height, height);
    if (right <= left || bottom <= top) return {};
    return {int32_t(left), int32_t(top), int32_t(right - left), int32_t(bottom - top)};
}

// Copies `image` with its corner at (x, y) onto `card`, clipped to it.
void Blit(const TRgbImage& image, int32_t x, int32_t y, TRgbImage& card) {
    const TRect r = Placed(image, x, y, card.Width, card.Height);
    for (int32_t row = 0; row < r.Height; ++row)
        std::memcpy(card.Pixel(r.X, r.Y + row),
                    image.Pixel(int32_t(r.X - int64_t(x)), int32_t(r.Y + row - int64_t(y))),
                    size_t(r.Width) * kRgbBytes);
}

} // namespace

TCompositor::TCompositor(TCardTimeline timeline, TPictureSource& pictures)
    : timeline_(std::move(timeline)), pictures_(pictures), afterStep_(kNoStep),
      frame_(timeline_.Width, timeline_.Height) {
    Restart();
}

void TCompositor::Restart() {
    base_ = TRgbImage(timeline_.Width, timeline_.Height);
    finished_ = 0;
    background_.reset();
    afterStep_ = kNoStep;
}

// Backgrounds lie at the card's top-left corner, where the texts drawn on them were placed;
// what a smaller picture leaves uncovered is black.
TRgbImage TCompositor::Canvas(const TRgbImage* background) const {
    TRgbImage canvas(timeline_.Width, timeline_.Height);
    if (background) Blit(*background, 0, 0, canvas);
    return canvas;
}

void TCompositor::PrepareAfter(size_t index) {
    if (afterStep_ == index) return;
    const TTimelineStep& step = timeline_.Steps[index];
    afterBackground_ = background_;
    afterArea_ = {0, 0, timeline_.Width, timeline_.Height};
    switch (step.Kind) {
    case TStepKind::Background:
        afterBackground_ = pictures_.Picture(step.File);
        after_ = Canvas(afterBackground_.get());
        break;
    case TStepKind::RestoreBackground:
        after_ = Canvas(background_.get());
        break;
    case TStepKind::Text: {
        const std::shared_ptr<const TRgbImage> text = pictures_.Picture(step.File);
        after_ = base_;
        Blit(*text, step.X, step.Y, after_);
        afterArea_ = Placed(*text, step.X, step.Y, timeline_.Width, timeline_.Height);
        break;
    }
    default: // the window opening, sounds, tunes and waits leave the card as it is
        after_ = base_;
        break;
    }
    afterStep_ = index;
}

void TCompositor::Finish(size_t index) {
    const TStepKind kind = timeline_.Steps[index].Kind;
    if (kind != TStepKind::Background && kind != TStepKind::RestoreBackground &&
        kind != TStepKind::Text)
        return;
    PrepareAfter(index);
    std::swap(base_, after_);
    background_ = std::move(afterBackground_);
    afterStep_ = kNoStep;
}

size_t TCompositor::Started(int64_t ms) const {
    // Lines follow one another, so every line that has started, except perhaps the last,
    // is over.
    const std::vector<TTimelineStep>& steps = timeline_.Steps;
    return size_t(std::upper_bound(steps.begin(), steps.end(), ms,
                                   [](int64_t t, const TTimelineStep& s) { return t < s.Start; }) -
                  steps.begin());
}

int64_t TCompositor::NextChange(int64_t ms) const {
    const std::vector<TTimelineStep>& steps = timeline_.Steps;
    const size_t started = Started(ms);
    if (started > 0 && steps[started - 1].Start + steps[started - 1].DrawTime > ms) return ms + 1;
    for (size_t i = started; i < steps.size(); ++i) {
        const TStepKind kind = steps[i].Kind;
        if (steps[i].DrawTime > 0 || kind == TStepKind::Background ||
            kind == TStepKind::RestoreBackground || kind == TStepKind::Text)
            return steps[i].Start;
    }
    return kNoChange;
}

const TRgbImage& TCompositor::FrameAt(int64_t ms) {
    const std::vector<TTimelineStep>& steps = timeline_.Steps;
    const size_t started = Started(ms);
    const bool drawing = started > 0 && steps[started - 1].Start + steps[started - 1].DrawTime > ms;
    const size_t over = drawing ? started - 1 : started;

    if (finished_ > over) Restart();
    for (; finished_ < over; ++finished_)
        Finish(finished_);
    if (!drawing) return base_;

    const TTimelineStep& step = steps[over];
    PrepareAfter(over);
    if (afterArea_.Width != timeline_.Width || afterArea_.Height != timeline_.Height)
        frame_ = base_;
    DrawTransition(step.Effect, base_, after_, afterArea_, ms - step.Start, step.DrawTime, frame_);
    return frame_;
}
