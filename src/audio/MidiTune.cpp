#include "MidiTune.h"

#include "GmSynth.h"
#include "MidiFile.h"

#include <algorithm>

namespace {

// After the last event notes are let go; a tune whose sounds never fade is cut this much later.
constexpr uint64_t kMaxTailSeconds = 20;
constexpr size_t kTailBlockFrames = 256;

class MidiTune final : public AudioSource {
  public:
    MidiTune(MidiSong song, int sampleRate)
        : song_(std::move(song)), synth_(sampleRate), rate_(uint64_t(sampleRate)),
          endFrame_(FrameAt(song_.LengthMicros)), cutFrame_(endFrame_ + kMaxTailSeconds * rate_) {}

    size_t Render(float* out, size_t frames) override {
        size_t done = 0;
        while (done < frames && !finished_) {
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
                    break;
                }
                until = std::min(cutFrame_, frame_ + kTailBlockFrames);
            }
            const size_t count = size_t(std::min<uint64_t>(frames - done, until - frame_));
            synth_.Render(out + 2 * done, count);
            done += count;
            frame_ += count;
        }
        return done;
    }

  private:
    uint64_t FrameAt(uint64_t micros) const { return (micros * rate_ + 500000) / 1000000; }

    const MidiSong song_;
    GmSynth synth_;
    const uint64_t rate_, endFrame_, cutFrame_;
    size_t next_ = 0;
    uint64_t frame_ = 0;
    bool released_ = false, finished_ = false;
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
