// A sound effect from a WAV file, ready for the mixer.
#pragma once

#include "AudioSource.h"

#include <cstdint>
#include <memory>
#include <span>

// The file's sound as stereo frames at `sampleRate`: PCM of 8, 16, 24 or 32 bits, 32- or
// 64-bit floating point, IMA or Microsoft ADPCM, 1 to 8 channels, any rate from 1 to 768 kHz.
// Keeps its own copy of the samples, so `file` may go once this returns. A file it cannot
// play raises EAudioFormat, whose text says why.
std::unique_ptr<AudioSource> OpenWavSound(std::span<const uint8_t> file, int sampleRate);
