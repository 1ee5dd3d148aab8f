// Rendered audio to a WAV file: 16-bit PCM stereo, samples rounded to the nearest step and
// clipped to full scale, so the same samples always give the same bytes.
#pragma once

#include "AtomicFile.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The whole file: RIFF header, "fmt " chunk and "data" chunk.
std::vector<uint8_t> EncodeWav16(std::span<const float> interleavedStereo, int sampleRate);

// Creates or replaces `path` with that file once it is complete; errors raise EInOutError and
// keep the file that stood there.
void WriteWavFile(const std::string& path, std::span<const float> interleavedStereo,
                  int sampleRate);

// The same file written block by block, for audio too long to hold in memory: the header
// takes its sizes on Close, and the file takes its name then. A writer destroyed without Close
// leaves nothing, and the file that stood there as it was. Errors raise EInOutError; more
// audio than a WAV file can hold raises it with kWavTooLong.
class WavFileWriter {
  public:
    WavFileWriter(const std::string& path, int sampleRate);

    void Append(std::span<const float> interleavedStereo);
    void Close();

  private:
    TFileBeside file_;
    int rate_;
    uint64_t dataBytes_ = 0;
    std::vector<uint8_t> buffer_;
};

inline constexpr const char* kWavTooLong = "The sound is longer than a WAV file can hold";
