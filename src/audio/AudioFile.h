// Sound files by what they hold, not by their names: a WAV file plays as a sound effect, a
// MIDI file as a tune.
#pragma once

#include "AudioSource.h"
#include "Mixer.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// The slot the file plays in: Sound for "RIFF....WAVE", Tune for "MThd". Anything else
// raises EAudioFormat.
MixerSlot AudioFileSlot(std::span<const uint8_t> file);

// The file's sound or tune at `sampleRate`; raises EAudioFormat when it cannot be played.
std::unique_ptr<AudioSource> OpenAudioFile(std::span<const uint8_t> file, int sampleRate);

// Whether the file at `path` plays in `slot` (a WAV sound in Sound, a MIDI tune in Tune), as
// the readers that play it read it. Only what the readers look at is read of the file.
// EInOutError when it cannot be read at all.
bool FilePlaysIn(const std::string& path, MixerSlot slot);
