// Building WAV files byte by byte, pulling sources to their end, and sox as the peer decoder.
#pragma once

#include "AudioSource.h"
#include "FileIO.h"
#include "RunProgram.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
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

} // namespace audiotest
