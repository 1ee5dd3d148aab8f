#include "WavSound.h"

#include "AudioError.h"
#include "Resampler.h"
#include "WavDecoder.h"
#include "WavFormat.h"

#include <stdexcept>
#include <string>

std::unique_ptr<AudioSource> OpenWavSound(std::span<const uint8_t> file, int sampleRate) {
    if (sampleRate < kWavMinRate || sampleRate > kWavMaxRate)
        throw std::invalid_argument("No output at " + std::to_string(sampleRate) + " Hz.");
    WavLayout layout = ParseWav(file);
    const int fileRate = layout.Format.SampleRate;
    auto decoder = std::make_unique<WavDecoder>(
        std::move(layout.Format), std::vector<uint8_t>(layout.Data.begin(), layout.Data.end()),
        layout.Frames);
    if (fileRate == sampleRate) return decoder;
    return std::make_unique<Resampler>(std::move(decoder), fileRate, sampleRate);
}
