#include "MidiTune.h"

#include "GmSynth.h"
#include "MidiFile.h"

#include <algorithm>
#include <array>

namespace {

// After the last event notes are let go; a tune whose sounds never fade is cut this much later.
constexpr uint64_t kMaxTailSeconds = 20;
constexpr size_t kSegmentFrames = 256;

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
            if (ready_ == used_ && !RenderSegment()) break;
            const size_t count = std::min(frames - done, ready_ - used_);
            std::copy_n(segment_.begin() + long(2 * used_), 2 * count, out + 2 * done);
            used_ += count;
            done += count;
        }
        return done;
    }

  private:
    // The next segment into segment_; false once the tune has ended.
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
        ready_ = size_t(std::min<uint64_t>(until - frame_, kSegmentFrames));
        used_ = 0;
        synth_.Render(segment_.data(), ready_);
        frame_ += ready_;
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
    size_t ready_ = 0, used_ = 0; // frames in segment_, and handed out of them
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
