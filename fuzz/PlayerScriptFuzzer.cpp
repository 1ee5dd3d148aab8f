// Any bytes given as a player script are read as a timeline or refused with EPlayerScriptError:
// no crash, no hang. A timeline read has its lines in order, each starting where the one
// before ends, and a window of a size that exists; a small card is then composed at moments
// across its time, with pictures of sizes taken from their names, and each frame must be the
// same when asked for again after a later one.
#include "Compositor.h"

#include <cstdlib>
#include <functional>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Pictures from 1 x 1 to 48 x 40, their size and colours a function of the name.
class NamedPictures final : public TPictureSource {
public:
    std::shared_ptr<const TRgbImage> Picture(const std::string& name) override {
        const size_t h = std::hash<std::string>{}(name);
        auto image = std::make_shared<TRgbImage>(int32_t(h % 48 + 1), int32_t(h / 48 % 40 + 1));
        for (size_t i = 0; i < image->Rgb.size(); ++i)
            image->Rgb[i] = uint8_t(h >> (i % 7) ^ i);
        return image;
    }
};

void CheckTimeline(const TCardTimeline& timeline) {
    Check(timeline.Width > 0 && timeline.Width <= timeline::kMaxSide);
    Check(timeline.Height > 0 && timeline.Height <= timeline::kMaxSide);
    int64_t now = 0;
    for (const TTimelineStep& step : timeline.Steps) {
        Check(step.Start == now && step.Duration >= 0);
        Check(step.DrawTime == (step.Effect == TEffect::None ? 0 : step.Duration));
        now = step.End();
    }
    Check(timeline.End == now);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TCardTimeline timeline;
    try {
        timeline = ParsePlayerScript({reinterpret_cast<const char*>(data), size});
    } catch (const EPlayerScriptError&) {
        return 0;
    }
    CheckTimeline(timeline);
    if (int64_t(timeline.Width) * timeline.Height > 64 * 64) return 0;

    NamedPictures pictures;
    TCompositor card(timeline, pictures), again(timeline, pictures);
    const int64_t end = timeline.End;
    for (const int64_t ms : {int64_t(-1), int64_t(0), end / 5, end / 3, end / 2, end - 1, end}) {
        const TRgbImage frame = card.FrameAt(ms);
        Check(frame.Width == timeline.Width && frame.Height == timeline.Height);
        again.FrameAt(end);
        Check(again.FrameAt(ms) == frame);
    }
    return 0;
}
