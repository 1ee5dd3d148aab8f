#include "PicturesAhead.h"

#include <algorithm>

namespace {
// How many pictures beyond the last one shown are decoded ahead: two keep a text that
// follows its background at once from waiting.
constexpr size_t kAhead = 2;
} // namespace

TPicturesAhead::TPicturesAhead(const TCardPackage& package, const TCardTimeline& timeline)
    : pictures_(package) {
    for (const TTimelineStep& step : timeline.Steps)
        if (step.Kind == TStepKind::Background || step.Kind == TStepKind::Text)
            order_.push_back(step.File);
    worker_ = std::thread([this] { Work(); });
}

TPicturesAhead::~TPicturesAhead() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void TPicturesAhead::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(
            lock, [this] { return stop_ || (next_ < order_.size() && next_ < asked_ + kAhead); });
        if (stop_) return;
        const std::string name = order_[next_++];
        decoding_ = true;
        lock.unlock();
        Decoded decoded;
        try {
            decoded.Picture = pictures_.Picture(name);
        } catch (...) {
            decoded.Error = std::current_exception();
        }
        lock.lock();
        decoding_ = false;
        ready_[name] = std::move(decoded);
        changed_.notify_all();
    }
}

std::shared_ptr<const TRgbImage> TPicturesAhead::Picture(const std::string& name) {
    std::unique_lock lock(mutex_);
    // The lines show their pictures in order: this one and those before it are done with.
    const auto at =
        std::find(order_.begin() + long(std::min(asked_, order_.size())), order_.end(), name);
    const size_t index = size_t(at - order_.begin());
    if (at != order_.end()) {
        for (size_t skipped = asked_; skipped < index; ++skipped)
            ready_.erase(order_[skipped]);
        asked_ = index + 1;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !(decoding_ && next_ == index + 1); });
    }
    const auto found = ready_.find(name);
    if (found == ready_.end()) {
        // Not reached by the thread: decoded here, and the thread goes on after it.
        if (at != order_.end()) next_ = std::max(next_, index + 1);
        lock.unlock();
        return pictures_.Picture(name);
    }
    Decoded decoded = std::move(found->second);
    ready_.erase(found);
    if (decoded.Error) std::rethrow_exception(decoded.Error);
    return decoded.Picture;
}
