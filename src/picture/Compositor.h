// The card's frames as a function of time alone: the frame at a moment depends only on the
// timeline, the pictures and that moment, never on which frames were asked for before, so a
// player, a preview and a test see the same pixels.
#pragma once

#include "CardTimeline.h"
#include "RgbImage.h"
#include "TransitionDraw.h"

#include <memory>
#include <string>

// Where the compositor gets the pictures the timeline names, as it needs them.
class TPictureSource {
public:
    virtual ~TPictureSource() = default;
    // The picture of a packed file; throws when there is none or it cannot be decoded.
    virtual std::shared_ptr<const TRgbImage> Picture(const std::string& name) = 0;
};

class TCompositor {
public:
    TCompositor(TCardTimeline timeline, TPictureSource& pictures);

    // The card window's client area at `ms` from the card's start (before 0: the start).
    // Asking for moments in increasing order is cheap; going back recomposes from the start.
    // The frame stays valid until the next call.
    const TRgbImage& FrameAt(int64_t ms);

    // The first moment after `ms` at which the frame may differ from FrameAt(ms): the next
    // millisecond while a transition draws, else the start of the next line that draws, or
    // kNoChange when the card stays on its last picture. A player sleeps until then.
    int64_t NextChange(int64_t ms) const;
    static constexpr int64_t kNoChange = INT64_MAX;

    const TCardTimeline& Timeline() const { return timeline_; }

private:
    // The steps that have started by `ms`: all over but perhaps the last.
    size_t Started(int64_t ms) const;
    void Restart();
    // Makes after_ the card once `step` is over, and afterArea_ the part the step draws.
    void PrepareAfter(size_t step);
    void Finish(size_t step);
    TRgbImage Canvas(const TRgbImage* background) const;

    TCardTimeline timeline_;
    TPictureSource& pictures_;
    TRgbImage base_; // the card once steps [0, finished_) are over
    size_t finished_ = 0;
    std::shared_ptr<const TRgbImage> background_; // the last background shown, for "%"
    TRgbImage after_;                             // the card once step afterStep_ is over
    std::shared_ptr<const TRgbImage> afterBackground_;
    TRect afterArea_; // the whole card, or a text's place clipped to it
    size_t afterStep_;
    TRgbImage frame_; // a frame in the middle of a transition
};
