#include "CardSound.h"

#include "AudioFile.h"
#include "CardFrames.h"
#include "FileIO.h"
#include "PlayerTexts.h"
#include "WavWriter.h"

#include <algorithm>
#include <optional>

TSoundCues::TSoundCues(const TCardPackage& package, const TCardTimeline& timeline,
                       TComplaint complain)
    : package_(package), complain_(std::move(complain)) {
    for (const TTimelineStep& step : timeline.Steps)
        if (step.Kind == TStepKind::Sound || step.Kind == TStepKind::Music) cues_.push_back(&step);
}

void TSoundCues::StartNext(Mixer& mixer, int sampleRate) {
    const TTimelineStep& step = *cues_[next_++];
    const TPackedFile* file = package_.Find(step.File); // the timeline's files are checked
    // The line's kind picks the slot, as the editors that made the card meant it.
    const MixerSlot slot = step.Kind == TStepKind::Sound ? MixerSlot::Sound : MixerSlot::Tune;
    try {
        mixer.Play(slot, OpenAudioFile(package_.Read(*file), sampleRate));
    } catch (const EInOutError&) {
        throw; // the card file itself, not the sound
    } catch (const std::exception& e) {
        complain_(playertext::WithoutSound(step.File, e.what()));
    }
}

namespace {
constexpr size_t kBlockFrames = 4096;

// The frame at which `ms` falls, rounded down; kLimit once the file could not hold it.
uint64_t FrameOf(int64_t ms, int sampleRate, uint64_t limit) {
    const uint64_t seconds = uint64_t(ms) / 1000;
    if (seconds >= limit / uint64_t(sampleRate)) return limit;
    return seconds * uint64_t(sampleRate) + (uint64_t(ms) % 1000) * uint64_t(sampleRate) / 1000;
}
} // namespace

void WriteSoundTrack(const TCardPackage& package, const TCardTimeline& timeline,
                     const std::string& path, int sampleRate,
                     const TSoundCues::TComplaint& complain) {
    // No WAV file holds more: the writer refuses the block that would go beyond.
    constexpr uint64_t kMaxFrames = 0xFFFFFFFFull / 4;
    TSoundCues cues(package, timeline, complain);
    Mixer mixer;
    std::optional<WavFileWriter> file;
    WriteOutput(path, [&] { file.emplace(path, sampleRate); });
    const uint64_t cardEnd = FrameOf(timeline.End, sampleRate, kMaxFrames);
    const auto nextCue = [&] {
        return cues.Next() == TSoundCues::kNone ? UINT64_MAX
                                                : FrameOf(cues.Next(), sampleRate, kMaxFrames);
    };
    std::vector<float> block(2 * kBlockFrames);
    const std::vector<float> silence(2 * kBlockFrames);
    // Silence is held back until something sounds after it: past the card's end, the track
    // stops at the last sample that sounds.
    uint64_t frame = 0, heldBack = 0;
    for (;;) {
        // A line starts at the frame its moment falls in, and blocks stop there.
        while (nextCue() <= frame)
            cues.StartNext(mixer, sampleRate);
        if (nextCue() == UINT64_MAX && frame >= cardEnd && !mixer.IsPlaying()) break;
        uint64_t until = std::min(frame + kBlockFrames, nextCue());
        if (frame < cardEnd) until = std::min(until, cardEnd);
        const size_t frames = size_t(until - frame);
        mixer.Render(block.data(), frames);

        const auto sounding = std::find_if(std::make_reverse_iterator(block.begin() + 2 * frames),
                                           block.rend(), [](float s) { return s != 0.0f; });
        const size_t keep = frame < cardEnd ? frames : size_t(block.rend() - sounding + 1) / 2;
        if (keep > 0) {
            WriteOutput(path, [&] {
                for (; heldBack > 0; heldBack -= std::min<uint64_t>(heldBack, kBlockFrames))
                    file->Append(
                        {silence.data(), 2 * size_t(std::min<uint64_t>(heldBack, kBlockFrames))});
                file->Append({block.data(), 2 * keep});
            });
        }
        heldBack += frames - keep;
        frame += frames;
    }
    WriteOutput(path, [&] { file->Close(); });
}
