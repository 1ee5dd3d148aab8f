#include "WavWriter.h"

#include "FileIO.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2;
constexpr uint32_t kHeaderBytes = 44;
// The RIFF size field counts the 36 header bytes after it and the data in 32 bits.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kHeaderBytes - 8);

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

void PutHeader(std::vector<uint8_t>& out, uint32_t dataBytes, int sampleRate) {
    // "RIFF" size "WAVE" | "fmt " 16: format 1, channels, rate, byte rate, block, bits
    // | "data" size, then the samples, little-endian.
    PutTag(out, "RIFF");
    PutU32(out, kHeaderBytes - 8 + dataBytes);
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
}

void PutSamples(std::vector<uint8_t>& out, std::span<const float> samples) {
    for (const float sample : samples)
        PutU16(out, uint16_t(ToPcm16(sample)));
}
} // namespace

std::vector<uint8_t> EncodeWav16(std::span<const float> interleavedStereo, int sampleRate) {
    const uint32_t dataBytes = uint32_t(interleavedStereo.size() * kBytesPerSample);
    std::vector<uint8_t> out;
    out.reserve(kHeaderBytes + dataBytes);
    PutHeader(out, dataBytes, sampleRate);
    PutSamples(out, interleavedStereo);
    return out;
}

void WriteWavFile(const std::string& path, std::span<const float> interleavedStereo,
                  int sampleRate) {
    WriteFileAtomically(path, EncodeWav16(interleavedStereo, sampleRate));
}

WavFileWriter::WavFileWriter(const std::string& path, int sampleRate)
    : file_(path), rate_(sampleRate) {
    PutHeader(buffer_, 0, rate_); // its sizes come on Close
    file_.Write(buffer_.data(), buffer_.size());
}

void WavFileWriter::Append(std::span<const float> interleavedStereo) {
    dataBytes_ += interleavedStereo.size() * kBytesPerSample;
    if (dataBytes_ > kMaxDataBytes) throw EInOutError(kWavTooLong);
    buffer_.clear();
    PutSamples(buffer_, interleavedStereo);
    file_.Write(buffer_.data(), buffer_.size());
}

void WavFileWriter::Close() {
    buffer_.clear();
    PutHeader(buffer_, uint32_t(dataBytes_), rate_);
    file_.WriteAt(0, buffer_.data(), buffer_.size());
    file_.PlaceAtTarget();
}
