#include "MidiTune.h"

#include "GmSynth.h"
#include "MidiFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

namespace {

// After the last event notes are let go; a tune whose sounds never fade is cut this much later.
constexpr uint64_t kMaxTailSeconds = 20;
constexpr size_t kSegmentFrames = 256;
// Quieter than half a step of 16-bit audio: what a WAV file or a sound card plays as silence.
constexpr float kInaudible = 0.5f / 32767.0f;
// Inaudible frames of the tail are held back until something audible follows them (or the
// tail ends and they are dropped); this many at most, so that a quiet tail costs no memory.
constexpr size_t kMaxHeldFrames = 1 << 16;

class MidiTune final : public AudioSource {
  public:
    MidiTune(MidiSong song, int sampleRate)
        : song_(std::move(song)), synth_(sampleRate), rate_(uint64_t(sampleRate)),
          endFrame_(FrameAt(song_.LengthMicros)), cutFrame_(endFrame_ + kMaxTailSeconds * rate_) {}

    // The synthesizer is cut into segments at the tune's own events and every kSegmentFrames,
    // never where the caller's blocks end: the device and an offline rendering pull different
    // blocks and must hear the same samples.
    size_t Render(float* out, size_t frames) override {
        size_t done = 0;
        while (done < frames) {
            if (2 * used_ == ready_.size()) {
                ready_.clear(), used_ = 0;
                if (!RenderSegment()) break;
                continue;
            }
            const size_t count = std::min(frames - done, ready_.size() / 2 - used_);
            std::copy_n(ready_.begin() + long(2 * used_), 2 * count, out + 2 * done);
            used_ += count;
            done += count;
        }
        return done;
    }

  private:
    // The next segment into ready_ (or, in the tail, held back while it is inaudible); false
    // once the tune has ended.
    bool RenderSegment() {
        if (finished_) return false;
        const auto& messages = song_.Messages;
        while (next_ < messages.size() && FrameAt(messages[next_].Micros) <= frame_) {
            const MidiMessage& m = messages[next_++];
            synth_.Send(m.Status, m.Data1, m.Data2);
        }
        uint64_t until = cutFrame_;
        if (next_ < messages.size()) {
            until = FrameAt(messages[next_].Micros);
        } else if (frame_ < endFrame_) {
            until = endFrame_;
        } else {
            if (!released_) synth_.ReleaseAll(), released_ = true;
            if (synth_.Silent() || frame_ >= cutFrame_) {
                finished_ = true;
                return false;
            }
        }
        const size_t count = size_t(std::min<uint64_t>(until - frame_, kSegmentFrames));
        synth_.Render(segment_.data(), count);
        frame_ += count;
        const auto end = segment_.begin() + long(2 * count);
        if (!released_) {
            ready_.assign(segment_.begin(), end);
            return true;
        }
        // The tail: its last audible frame and what comes before it go out, the rest waits.
        const auto audible = std::find_if(std::make_reverse_iterator(end), segment_.rend(),
                                          [](float v) { return std::fabs(v) >= kInaudible; });
        const auto split = segment_.begin() + long((segment_.rend() - audible + 1) / 2 * 2);
        if (split != segment_.begin() || held_.size() >= 2 * kMaxHeldFrames) {
            ready_.swap(held_);
            held_.clear();
            ready_.insert(ready_.end(), segment_.begin(), split);
        }
        held_.insert(held_.end(), split, end);
        return true;
    }

    uint64_t FrameAt(uint64_t micros) const { return (micros * rate_ + 500000) / 1000000; }

    const MidiSong song_;
    GmSynth synth_;
    const uint64_t rate_, endFrame_, cutFrame_;
    size_t next_ = 0;
    uint64_t frame_ = 0;
    bool released_ = false, finished_ = false;
    std::array<float, 2 * kSegmentFrames> segment_{};
    std::vector<float> ready_, held_; // frames to hand out, and inaudible ones waiting
    size_t used_ = 0;                 // frames of ready_ handed out
};

} // namespace

std::unique_ptr<AudioSource> OpenMidiTune(std::span<const uint8_t> file, int sampleRate) {
    MidiSong song = ReadMidiFile(file);
    return std::make_unique<MidiTune>(std::move(song), sampleRate);
}

std::vector<float> RenderMidiTune(std::span<const uint8_t> file, int sampleRate) {
    const auto tune = OpenMidiTune(file, sampleRate);
    constexpr size_t kChunkFrames = 4096;
    std::vector<float> samples;
    size_t got = 0;
    do {
        const size_t at = samples.size();
        samples.resize(at + 2 * kChunkFrames);
        got = tune->Render(samples.data() + at, kChunkFrames);
        samples.resize(at + 2 * got);
    } while (got == kChunkFrames);
    return samples;
}
