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

// The same file written block by block, for audio too long to hold in memory: the header
// takes its sizes on Close. A writer destroyed without Close removes its unfinished file.
// Errors raise EInOutError; more audio than a WAV file can hold raises it with kWavTooLong.
class WavFileWriter {
  public:
    WavFileWriter(const std::string& path, int sampleRate);
    ~WavFileWriter();
    WavFileWriter(const WavFileWriter&) = delete;
    WavFileWriter& operator=(const WavFileWriter&) = delete;

    void Append(std::span<const float> interleavedStereo);
    void Close();

  private:
    std::string path_;
    int rate_;
    int fd_ = -1;
    uint64_t dataBytes_ = 0;
    std::vector<uint8_t> buffer_;
};

inline constexpr const char* kWavTooLong = "The sound is longer than a WAV file can hold";
