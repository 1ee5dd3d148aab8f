// The two ADPCM codecs of WAV files, one block at a time. A block starts afresh from its own
// headers, so any block can be decoded without the ones before it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// IMA ADPCM: per channel a 4-byte header (first sample LE16, step index, reserved), then per
// channel in turn 4 bytes holding 8 samples, low nibble first. Writes `frames` interleaved
// frames to `out`; the block must hold them (AdpcmFramesInBlock).
void DecodeImaBlock(std::span<const uint8_t> block, int channels, size_t frames, int16_t* out);

// Microsoft ADPCM: the predictor index of every channel (1 byte each), then the step of every
// channel, then their latest and their earlier sample (LE16 each; the earlier one plays first);
// then one nibble per sample, high nibble first, channels taking turns.
void DecodeMsBlock(std::span<const uint8_t> block, int channels, size_t frames,
                   std::span<const std::array<int16_t, 2>> coefficients, int16_t* out);
