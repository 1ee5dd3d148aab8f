// The sample card's tune as our synthesizer renders it, against FluidSynth with the TimGM6mb
// soundfont: about as loud, and never above -1 dBFS.
#include "AudioTestSupport.h"
#include "FileIO.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace audiotest;

namespace {

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b.at(at + size_t(i));
    return v;
}

// The samples of a 16-bit PCM WAV file, interleaved, scaled to -1..1.
std::vector<float> ReadWav16(const std::filesystem::path& path) {
    const std::vector<uint8_t> b = fileio::ReadFileBytes(path.string());
    std::vector<float> samples;
    for (size_t at = 12; at + 8 <= b.size(); at += 8 + Le(b, at + 4, 4) + (Le(b, at + 4, 4) & 1)) {
        if (std::memcmp(&b[at], "fmt ", 4) == 0) {
            EXPECT_EQ(Le(b, at + 8 + 14, 2), 16u) << "bits a sample";
        }
        if (std::memcmp(&b[at], "data", 4) != 0) continue;
        for (size_t i = at + 8; i + 1 < std::min<size_t>(b.size(), at + 8 + Le(b, at + 4, 4));
             i += 2)
            samples.push_back(float(int16_t(Le(b, i, 2))) / 32768.0f);
        break;
    }
    return samples;
}

// Loudness as the mean power of the 100 ms blocks that are not silent: blocks below -70 dBFS
// and more than 20 dB below the mean of the rest are left out (the gating of EBU R 128, without
// its weighting), so that tails of silence of any length do not count.
double GatedRmsDb(const std::vector<float>& stereo) {
    const size_t block = 2 * kRate / 10;
    std::vector<double> powers;
    for (size_t at = 0; at + block <= stereo.size(); at += block) {
        const double rms = Rms(std::span(stereo).subspan(at, block));
        if (Db(rms) > -70) powers.push_back(rms * rms);
    }
    double mean = 0;
    for (double p : powers)
        mean += p / double(powers.size());
    double sum = 0;
    int count = 0;
    for (double p : powers)
        if (p > mean / 100) sum += p, ++count;
    return count ? 10 * std::log10(sum / count) : -200;
}

TEST(SampleTune, AsLoudAsFluidSynthsAndPeaksBelowMinusOneDbfs) {
    ASSERT_TRUE(std::filesystem::exists(GM_SOUNDFONT))
        << GM_SOUNDFONT << " missing: run scripts/install-deps.sh";
    const std::filesystem::path scratch = testing::TempDir();
    const std::filesystem::path peerWav = scratch / "velmora_fluidsynth_tune.wav";
    const ProgramRun run = RunProgram(
        FLUIDSYNTH_EXE,
        {"-ni", "-q", "-F", peerWav.string(), "-r", "44100", GM_SOUNDFONT, VELMORA_SAMPLE_TUNE},
        scratch);
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
    const std::vector<float> peer = ReadWav16(peerWav);
    std::filesystem::remove(peerWav);
    ASSERT_GT(peer.size(), size_t(kRate));

    const std::vector<float> ours =
        RenderMidiTune(fileio::ReadFileBytes(VELMORA_SAMPLE_TUNE), kRate);
    const double oursDb = GatedRmsDb(ours), peerDb = GatedRmsDb(peer);
    EXPECT_NEAR(oursDb, peerDb, 6.0) << "ours " << oursDb << " dB, FluidSynth " << peerDb << " dB";
    EXPECT_LE(Db(Peak(ours)), -1.0);
    RecordProperty("ours_db", std::to_string(oursDb));
    RecordProperty("fluidsynth_db", std::to_string(peerDb));
}

} // namespace
