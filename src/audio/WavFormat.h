// The layout of a RIFF/WAVE file: what its "fmt " chunk says and where its samples lie,
// checked against the file's own bytes before anything is decoded.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

enum class WavEncoding { Pcm, Float, ImaAdpcm, MsAdpcm };

inline constexpr int kWavMaxChannels = 8;
inline constexpr int kWavMinRate = 1000;
inline constexpr int kWavMaxRate = 768000;

struct WavFormat {
    WavEncoding Encoding = WavEncoding::Pcm;
    int Channels = 0;
    int SampleRate = 0;
    // Bytes of one frame (PCM, float) or of one compressed block (ADPCM).
    int BlockAlign = 0;
    // PCM and float: bytes that hold one sample (1 to 4, or 8 for doubles).
    int BytesPerSample = 0;
    // ADPCM: frames a whole block decodes to.
    int FramesPerBlock = 1;
    // Speaker positions of the channels, in the order of the bits; 0 when the file names none.
    uint32_t ChannelMask = 0;
    // Microsoft ADPCM: the predictor coefficient pairs the blocks choose from.
    std::vector<std::array<int16_t, 2>> MsCoefficients;
};

struct WavLayout {
    WavFormat Format;
    std::span<const uint8_t> Data; // the "data" chunk's body, inside the parsed bytes
    uint64_t Frames = 0;           // frames the data holds (ADPCM: shortened by a "fact" chunk)
};

// Reads the chunks of a whole WAV file. A file that cannot be played raises EAudioFormat with
// the reason; nothing is read outside `file`.
WavLayout ParseWav(std::span<const uint8_t> file);

// Frames one block of `bytes` bytes decodes to, for a block cut short at the end of the data
// as well as for a whole one; 0 when the block is too short for its headers.
uint64_t AdpcmFramesInBlock(const WavFormat& format, size_t bytes);
