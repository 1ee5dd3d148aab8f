#include "AudioFile.h"

#include "AudioError.h"
#include "FileIO.h"
#include "MidiFile.h"
#include "MidiTune.h"
#include "WavFormat.h"
#include "WavSound.h"

#include <algorithm>

namespace {
bool StartsWith(std::span<const uint8_t> file, size_t at, const char (&tag)[5]) {
    return file.size() >= at + 4 && std::equal(tag, tag + 4, file.begin() + long(at));
}
} // namespace

MixerSlot AudioFileSlot(std::span<const uint8_t> file) {
    if (StartsWith(file, 0, "RIFF") && StartsWith(file, 8, "WAVE")) return MixerSlot::Sound;
    if (StartsWith(file, 0, "MThd")) return MixerSlot::Tune;
    throw EAudioFormat("This is neither a WAV sound nor a MIDI tune.");
}

std::unique_ptr<AudioSource> OpenAudioFile(std::span<const uint8_t> file, int sampleRate) {
    if (AudioFileSlot(file) == MixerSlot::Sound) return OpenWavSound(file, sampleRate);
    return OpenMidiTune(file, sampleRate);
}

bool FilePlaysIn(const std::string& path, MixerSlot slot) {
    const TMappedFile file(path);
    try {
        if (AudioFileSlot(file.Bytes()) != slot) return false;
        // What the sound or the tune is made of once read, not the samples played.
        if (slot == MixerSlot::Sound)
            ParseWav(file.Bytes());
        else
            ReadMidiFile(file.Bytes());
        return true;
    } catch (const EAudioFormat&) {
        return false;
    }
}
