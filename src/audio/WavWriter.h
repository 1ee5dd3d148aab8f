// Rendered audio to a WAV file: 16-bit PCM stereo, samples rounded to the nearest step and
// clipped to full scale, so the same samples always give the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The whole file: RIFF header, "fmt " chunk and "data" chunk.
std::vector<uint8_t> EncodeWav16(std::span<const float> interleavedStereo, int sampleRate);

// Creates or replaces `path` with that file; errors raise EInOutError.
void WriteWavFile(const std::string& path, std::span<const float> interleavedStereo,
                  int sampleRate);
