// The sound track a card's sound and tune lines should make, worked out from the engine's own
// rendering of each file alone: each source rendered to its end, laid from the frame its moment
// falls in, cut where the next source of its slot starts, the slots summed (the sound first)
// and clipped, as long as the card or up to the last sample that sounds.
#pragma once

#include "AudioFile.h"
#include "WavWriter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

struct SoundCue {
    std::vector<uint8_t> File;
    int64_t StartMs = 0;
};

inline std::vector<uint8_t> ExpectedSoundTrack(const std::vector<SoundCue>& cues, int64_t cardEndMs,
                                               int rate = 44100) {
    const auto frameOf = [rate](int64_t ms) { return size_t(ms * rate / 1000); };
    std::vector<float> slots[2];
    for (size_t i = 0; i < cues.size(); ++i) {
        const MixerSlot slot = AudioFileSlot(cues[i].File);
        size_t end = SIZE_MAX; // where the next source of the slot takes over
        for (size_t j = i + 1; j < cues.size() && end == SIZE_MAX; ++j)
            if (AudioFileSlot(cues[j].File) == slot) end = frameOf(cues[j].StartMs);
        const auto source = OpenAudioFile(cues[i].File, rate);
        std::vector<float> samples(2 * 4096);
        std::vector<float>& track = slots[size_t(slot)];
        for (size_t at = frameOf(cues[i].StartMs), got = 4096; got == 4096 && at < end;) {
            got = std::min(source->Render(samples.data(), 4096), end - at);
            track.resize(std::max(track.size(), 2 * (at + got)));
            std::copy_n(samples.begin(), 2 * got, track.begin() + long(2 * at));
            at += got;
        }
    }
    std::vector<float> mix(std::max({slots[0].size(), slots[1].size(), 2 * frameOf(cardEndMs)}));
    for (const std::vector<float>& track : slots)
        for (size_t i = 0; i < track.size(); ++i)
            mix[i] += track[i];
    for (float& sample : mix)
        sample = std::clamp(sample, -1.0f, 1.0f);
    size_t length = mix.size();
    while (length > 2 * frameOf(cardEndMs) && mix[length - 1] == 0.0f && mix[length - 2] == 0.0f)
        length -= 2;
    mix.resize(length);
    return EncodeWav16(mix, rate);
}
