// The samples of a WAV file as stereo frames at the file's own rate: every encoding turned to
// floating point, 1 to 8 channels mixed down to two. Decodes as it is pulled, a block at a time.
#pragma once

#include "AudioSource.h"
#include "WavFormat.h"

#include <array>
#include <cstdint>
#include <vector>

class WavDecoder final : public AudioSource {
  public:
    // `data` is the decoder's own copy of the layout's data chunk.
    WavDecoder(WavFormat format, std::vector<uint8_t> data, uint64_t frames);
    size_t Render(float* out, size_t frames) override;

  private:
    size_t DecodeChunk(size_t frames); // into samples_; returns the frames decoded
    void DecodeBlock(size_t block);
    void MixToStereo(size_t frames, float* out) const;

    WavFormat format_;
    std::vector<uint8_t> data_;
    uint64_t frames_;                                // frames the sound has
    uint64_t position_ = 0;                          // frames already rendered
    std::array<float, 2 * kWavMaxChannels> gains_{}; // left and right gain of each channel
    std::vector<float> samples_;                     // a chunk of decoded frames, all channels
    std::vector<int16_t> block_;                     // one decoded ADPCM block
    size_t blockFrames_ = 0;                         // frames held in block_
    size_t blockRead_ = 0;                           // of which already rendered
};
