#include "WavDecoder.h"

#include "Adpcm.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr size_t kChunkFrames = 1024;
constexpr float kHalfPower = 0.70710678f; // -3 dB

// Channel order of files that name no speakers (the usual order of 3 to 8 channels).
constexpr uint32_t kDefaultMasks[kWavMaxChannels + 1] = {0,    0x4,  0x3,   0x7,  0x33,
                                                         0x37, 0x3F, 0x70F, 0x63F};

// Left and right gain of a speaker position (bit number of the channel mask): the front pair
// at full level, the other left and right speakers at -3 dB on their side, centre speakers at
// -3 dB on both, the low-frequency channel left out as in the usual downmix.
std::array<float, 2> SpeakerGains(int bit) {
    switch (bit) {
    case 0:
        return {1, 0}; // front left
    case 1:
        return {0, 1}; // front right
    case 3:
        return {0, 0}; // low frequency
    case 4:
    case 6:
    case 9:
    case 12:
    case 15:
        return {kHalfPower, 0}; // back, side, top left
    case 5:
    case 7:
    case 10:
    case 14:
    case 17:
        return {0, kHalfPower};
    default:
        return {kHalfPower, kHalfPower}; // the centre ones
    }
}

// Mono plays on both sides; stereo as it is; more channels by their speaker positions, scaled
// so that channels at full scale together never clip.
std::array<float, 2 * kWavMaxChannels> DownmixGains(const WavFormat& f) {
    std::array<float, 2 * kWavMaxChannels> gains{};
    if (f.Channels <= 2) {
        gains = {1, f.Channels == 1 ? 1.0f : 0.0f, 0, 1};
        return gains;
    }
    uint32_t mask = f.ChannelMask;
    if (std::popcount(mask) < f.Channels) mask = kDefaultMasks[f.Channels];
    float left = 0, right = 0;
    for (int c = 0; c < f.Channels; ++c) {
        const int bit = std::countr_zero(mask);
        mask &= mask - 1;
        const auto [l, r] = SpeakerGains(bit);
        gains[2 * c] = l;
        gains[2 * c + 1] = r;
        left += l;
        right += r;
    }
    const float scale = std::max({left, right, 1.0f});
    for (float& g : gains)
        g /= scale;
    return gains;
}

// Non-finite or out-of-range floating-point samples must not reach the mixer. Selects rather
// than std::clamp, which the compiler turns into min and max instead of branches.
float Sanitize(float v) {
    v = v == v ? v : 0.0f; // not a number
    v = v < 1.0f ? v : 1.0f;
    return v > -1.0f ? v : -1.0f;
}

template <typename Convert>
void ConvertSamples(const uint8_t* in, size_t count, size_t stride, float* out, Convert convert) {
    for (size_t i = 0; i < count; ++i)
        out[i] = convert(in + i * stride);
}

// Integer samples are little-endian and signed, except 8-bit ones, which are unsigned.
void ConvertPcm(const uint8_t* in, size_t count, int bytes, float* out) {
    switch (bytes) {
    case 1:
        ConvertSamples(in, count, 1, out, [](const uint8_t* p) { return (p[0] - 128) / 128.0f; });
        break;
    case 2:
        ConvertSamples(in, count, 2, out, [](const uint8_t* p) {
            return float(int16_t(p[0] | p[1] << 8)) * (1.0f / 32768);
        });
        break;
    case 3:
        ConvertSamples(in, count, 3, out, [](const uint8_t* p) {
            const uint32_t bits = uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24;
            return float(int32_t(bits) >> 8) * (1.0f / 8388608);
        });
        break;
    default:
        ConvertSamples(in, count, 4, out, [](const uint8_t* p) {
            const uint32_t bits =
                p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
            return float(int32_t(bits)) * (1.0f / 2147483648.0f);
        });
    }
}

void ConvertFloat(const uint8_t* in, size_t count, int bytes, float* out) {
    if (bytes == 4) {
        std::memcpy(out, in, 4 * count);
        for (size_t i = 0; i < count; ++i)
            out[i] = Sanitize(out[i]);
    } else
        ConvertSamples(in, count, 8, out, [](const uint8_t* p) {
            double v;
            std::memcpy(&v, p, 8);
            return Sanitize(float(v));
        });
}

} // namespace

WavDecoder::WavDecoder(WavFormat format, std::vector<uint8_t> data, uint64_t frames)
    : format_(std::move(format)), data_(std::move(data)), frames_(frames),
      gains_(DownmixGains(format_)), samples_(kChunkFrames * size_t(format_.Channels)) {
    if (format_.Encoding == WavEncoding::ImaAdpcm || format_.Encoding == WavEncoding::MsAdpcm)
        block_.resize(size_t(format_.FramesPerBlock) * size_t(format_.Channels));
}

size_t WavDecoder::Render(float* out, size_t frames) {
    const size_t wanted = size_t(std::min<uint64_t>(frames, frames_ - position_));
    size_t done = 0;
    while (done < wanted) {
        const size_t chunk = DecodeChunk(std::min(wanted - done, kChunkFrames));
        if (chunk == 0) break; // cannot happen with a checked layout; never spin on a bad one
        MixToStereo(chunk, out + 2 * done);
        done += chunk;
        position_ += chunk;
    }
    return done;
}

size_t WavDecoder::DecodeChunk(size_t frames) {
    const size_t channels = size_t(format_.Channels);
    switch (format_.Encoding) {
    case WavEncoding::Pcm:
    case WavEncoding::Float: {
        const uint8_t* in = data_.data() + position_ * uint64_t(format_.BlockAlign);
        (format_.Encoding == WavEncoding::Pcm ? ConvertPcm : ConvertFloat)(
            in, frames * channels, format_.BytesPerSample, samples_.data());
        return frames;
    }
    default:
        if (blockRead_ == blockFrames_)
            DecodeBlock(size_t(position_ / uint64_t(format_.FramesPerBlock)));
        frames = std::min(frames, blockFrames_ - blockRead_);
        const int16_t* in = block_.data() + blockRead_ * channels;
        for (size_t i = 0; i < frames * channels; ++i)
            samples_[i] = in[i] * (1.0f / 32768);
        blockRead_ += frames;
        return frames;
    }
}

void WavDecoder::DecodeBlock(size_t block) {
    const size_t start = block * size_t(format_.BlockAlign);
    const std::span<const uint8_t> bytes = std::span<const uint8_t>(data_).subspan(
        start, std::min<size_t>(format_.BlockAlign, data_.size() - start));
    blockFrames_ = size_t(AdpcmFramesInBlock(format_, bytes.size()));
    blockRead_ = 0;
    if (format_.Encoding == WavEncoding::ImaAdpcm)
        DecodeImaBlock(bytes, format_.Channels, blockFrames_, block_.data());
    else
        DecodeMsBlock(bytes, format_.Channels, blockFrames_, format_.MsCoefficients, block_.data());
}

void WavDecoder::MixToStereo(size_t frames, float* out) const {
    const float* in = samples_.data();
    switch (format_.Channels) {
    case 1:
        for (size_t i = 0; i < frames; ++i)
            out[2 * i] = out[2 * i + 1] = in[i];
        return;
    case 2:
        std::copy(in, in + 2 * frames, out);
        return;
    default:
        const size_t channels = size_t(format_.Channels);
        for (size_t i = 0; i < frames; ++i) {
            float left = 0, right = 0;
            for (size_t c = 0; c < channels; ++c) {
                left += gains_[2 * c] * in[i * channels + c];
                right += gains_[2 * c + 1] * in[i * channels + c];
            }
            out[2 * i] = left;
            out[2 * i + 1] = right;
        }
    }
}
