// A MIDI file as a sound source: the file's messages played on our General MIDI synthesizer
// at their times. The source ends when the last event has passed and every note and the
// room's echo have died away.
#pragma once

#include "AudioSource.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// Reads the whole file at once (the source keeps no reference to `file`). Throws EAudioFormat
// for a file it cannot play, and std::invalid_argument for a rate the synthesizer does not
// support (8000 to 192000 samples a second; 44100 and 48000 are the ones the device uses).
std::unique_ptr<AudioSource> OpenMidiTune(std::span<const uint8_t> file, int sampleRate);

// The whole tune, rendered offline: interleaved stereo frames.
std::vector<float> RenderMidiTune(std::span<const uint8_t> file, int sampleRate);
