// Any bytes given to the MIDI reader end in a song or an EAudioFormat: no crash, no hang, no
// unbounded memory. A song that reads is in time order within its bounds, holds only channel
// messages, and played on the synthesizer (its messages a few samples apart, so that every
// message is heard however far apart the file puts them) gives finite samples no louder than
// -1 dBFS. The start of the tune itself is rendered too.
#include "AudioError.h"
#include "GmSynth.h"
#include "MidiFile.h"
#include "MidiTune.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kRate = 22050;
constexpr size_t kMaxMessagesPlayed = 1500, kFramesBetween = 8, kTuneFrames = 4096;
constexpr float kCeiling = 0.8913f; // -1 dBFS

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckSamples(const std::vector<float>& samples) {
    for (float s : samples) Check(std::isfinite(s) && std::fabs(s) <= kCeiling);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    MidiSong song;
    try {
        song = ReadMidiFile(file);
    } catch (const EAudioFormat&) {
        return 0;
    }
    Check(song.LengthMicros <= kMaxSongMicros && song.Messages.size() <= kMaxMidiMessages);
    uint64_t last = 0;
    for (const MidiMessage& m : song.Messages) {
        Check(m.Micros >= last && m.Micros <= song.LengthMicros);
        Check(m.Status >= 0x80 && m.Status < 0xF0 && m.Data1 < 0x80 && m.Data2 < 0x80);
        last = m.Micros;
    }

    GmSynth synth(kRate);
    std::vector<float> samples(2 * kFramesBetween);
    for (size_t i = 0; i < song.Messages.size() && i < kMaxMessagesPlayed; ++i) {
        const MidiMessage& m = song.Messages[i];
        synth.Send(m.Status, m.Data1, m.Data2);
        synth.Render(samples.data(), kFramesBetween);
        CheckSamples(samples);
    }

    const auto tune = OpenMidiTune(file, kRate);
    samples.resize(2 * kTuneFrames);
    samples.resize(2 * tune->Render(samples.data(), kTuneFrames));
    CheckSamples(samples);
    return 0;
}
