#include "WavWriter.h"

#include "FileIO.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2;

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

int16_t ToPcm16(float sample) {
    const float scaled = std::nearbyint(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
    return int16_t(scaled);
}
} // namespace

std::vector<uint8_t> EncodeWav16(std::span<const float> interleavedStereo, int sampleRate) {
    const uint32_t dataBytes = uint32_t(interleavedStereo.size() * kBytesPerSample);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    // "RIFF" size "WAVE" | "fmt " 16: format 1, channels, rate, byte rate, block, bits
    // | "data" size, then the samples, little-endian.
    PutTag(out, "RIFF");
    PutU32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, kChannels);
    PutU32(out, uint32_t(sampleRate));
    PutU32(out, uint32_t(sampleRate * kChannels * kBytesPerSample));
    PutU16(out, kChannels * kBytesPerSample);
    PutU16(out, 8 * kBytesPerSample);
    PutTag(out, "data");
    PutU32(out, dataBytes);
    for (const float sample : interleavedStereo)
        PutU16(out, uint16_t(ToPcm16(sample)));
    return out;
}

void WriteWavFile(const std::string& path, std::span<const float> interleavedStereo,
                  int sampleRate) {
    fileio::WriteFileBytes(path, EncodeWav16(interleavedStereo, sampleRate));
}
