// Test helpers for the sound engine: WAV files built byte by byte, sources pulled to their end,
// sox as the peer decoder, and measurements on rendered stereo audio.
#pragma once

#include "AudioSource.h"
#include "FileIO.h"
#include "MidiTune.h"
#include "RunProgram.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <span>
#include <string>
#include <vector>

namespace audiotest {

struct Chunk {
    std::string Id;
    std::vector<uint8_t> Body;
    uint32_t DeclaredSize = 0xFFFFFFFF; // the body's own size unless set
};

inline void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

// "RIFF" size "WAVE" and the chunks, each padded to an even length.
inline std::vector<uint8_t> RiffWave(const std::vector<Chunk>& chunks) {
    std::vector<uint8_t> out{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Chunk& c : chunks) {
        out.insert(out.end(), c.Id.begin(), c.Id.end());
        PutLe(out, c.DeclaredSize == 0xFFFFFFFF ? uint32_t(c.Body.size()) : c.DeclaredSize, 4);
        out.insert(out.end(), c.Body.begin(), c.Body.end());
        if (c.Body.size() % 2) out.push_back(0);
    }
    const uint32_t riffSize = uint32_t(out.size() - 8);
    std::memcpy(out.data() + 4, &riffSize, 4);
    return out;
}

// The 16 bytes every format chunk starts with, then `extra` (its size first when not empty).
inline Chunk Fmt(int tag, int channels, uint32_t rate, int blockAlign, int bits,
                 std::vector<uint8_t> extra = {}) {
    Chunk c{"fmt ", {}};
    PutLe(c.Body, tag, 2);
    PutLe(c.Body, channels, 2);
    PutLe(c.Body, rate, 4);
    PutLe(c.Body, rate * blockAlign, 4);
    PutLe(c.Body, blockAlign, 2);
    PutLe(c.Body, bits, 2);
    if (!extra.empty()) {
        PutLe(c.Body, uint32_t(extra.size()), 2);
        c.Body.insert(c.Body.end(), extra.begin(), extra.end());
    }
    return c;
}

inline std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t s : samples)
        PutLe(out, uint16_t(s), 2);
    return out;
}

inline std::vector<float> RenderAll(AudioSource& source, size_t block = 1000) {
    std::vector<float> all;
    for (size_t got = block; got == block;) {
        const size_t at = all.size();
        all.resize(at + 2 * block);
        got = source.Render(all.data() + at, block);
        all.resize(at + 2 * got);
    }
    return all;
}

// A folder of its own for one test, removed afterwards.
class ScratchDir {
  public:
    ScratchDir()
        : path_(std::filesystem::temp_directory_path() /
                ("velmora-audio-" + std::to_string(::getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name())) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline void Sox(const ScratchDir& dir, std::vector<std::string> args) {
    const ProgramRun run = RunProgram(VELMORA_SOX, std::move(args), dir.Path());
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
}

// sox's reading of a sound file, as floats in the file's channels and rate.
inline std::vector<float> SoxDecode(const ScratchDir& dir, const std::filesystem::path& wav) {
    const std::filesystem::path raw = dir / "peer.f32";
    Sox(dir, {"-D", wav.string(), "-t", "raw", "-e", "floating-point", "-b", "32", raw.string()});
    const std::vector<uint8_t> bytes = fileio::ReadFileBytes(raw);
    std::vector<float> samples(bytes.size() / 4);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 4);
    return samples;
}

constexpr int kRate = 44100;

inline std::vector<float> Render(const std::vector<uint8_t>& midi, int rate = kRate) {
    return RenderMidiTune(midi, rate);
}

// Frames `from` to `to` seconds of one channel.
inline std::vector<float> Channel(std::span<const float> stereo, int channel, double from,
                                  double to, int rate = kRate) {
    std::vector<float> mono;
    for (size_t f = size_t(from * rate); f < size_t(to * rate) && 2 * f + 1 < stereo.size(); ++f)
        mono.push_back(stereo[2 * f + size_t(channel)]);
    return mono;
}

// Frames `from` to `to` seconds of the middle: left and right averaged.
inline std::vector<float> Middle(std::span<const float> stereo, double from, double to,
                                 int rate = kRate) {
    const auto left = Channel(stereo, 0, from, to, rate),
               right = Channel(stereo, 1, from, to, rate);
    std::vector<float> middle(left.size());
    for (size_t i = 0; i < middle.size(); ++i)
        middle[i] = 0.5f * (left[i] + right[i]);
    return middle;
}

inline double Rms(std::span<const float> samples) {
    double sum = 0;
    for (float s : samples)
        sum += double(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / double(samples.size()));
}

inline double Db(double ratio) {
    return 20 * std::log10(ratio);
}

inline float Peak(std::span<const float> samples) {
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    return peak;
}

// Magnitude of the Hann-windowed spectrum of `mono` at `hz` (a single-frequency DFT).
inline double MagnitudeAt(std::span<const float> mono, double hz, int rate) {
    double re = 0, im = 0;
    const double step = 2 * std::numbers::pi * hz / rate;
    const size_t n = mono.size();
    for (size_t i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n));
        re += w * mono[i] * std::cos(step * double(i));
        im -= w * mono[i] * std::sin(step * double(i));
    }
    return std::hypot(re, im);
}

// The frequency of the strongest component between `low` and `high` Hz, to a hundredth of a Hz:
// a coarse scan, then ever finer ones around the best.
inline double StrongestFrequency(std::span<const float> mono, double low, double high,
                                 int rate = kRate) {
    double best = low;
    for (double step = 1.0; step >= 0.01; step /= 10) {
        double bestMagnitude = -1;
        for (double hz = low; hz <= high; hz += step) {
            const double m = MagnitudeAt(mono, hz, rate);
            if (m > bestMagnitude) bestMagnitude = m, best = hz;
        }
        low = best - step, high = best + step;
    }
    return best;
}

inline double Cents(double hz, double reference) {
    return 1200 * std::log2(hz / reference);
}

// First frame at or after `from` whose left or right sample exceeds `threshold`; -1 if none.
inline long FirstAbove(std::span<const float> stereo, size_t from, float threshold) {
    for (size_t f = from; 2 * f + 1 < stereo.size(); ++f)
        if (std::fabs(stereo[2 * f]) > threshold || std::fabs(stereo[2 * f + 1]) > threshold)
            return long(f);
    return -1;
}

} // namespace audiotest
