// The output device through SDL's disk driver, which writes what it is handed to a file, and
// velmora-audio, run for real.

#include "AtomicFile.h"
#include "AudioOutput.h"
#include "AudioTestSupport.h"
#include "FileSizeLimit.h"
#include "WavSound.h"
#include "WavWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <thread>

using namespace audiotest;

namespace {

// A 22.05 kHz mono sweep: every sample different, so any slip or gap shows.
std::vector<uint8_t> Sweep(size_t frames) {
    std::vector<int16_t> samples;
    for (size_t i = 0; i < frames; ++i)
        samples.push_back(int16_t(20000 * std::sin(1e-4 * double(i * i)) + 1));
    return RiffWave({Fmt(1, 1, 22050, 2, 16), {"data", Pcm16(samples)}});
}

std::vector<float> Floats(const std::filesystem::path& raw) {
    const std::vector<uint8_t> bytes = fileio::ReadFileBytes(raw);
    std::vector<float> out(bytes.size() / 4);
    std::memcpy(out.data(), bytes.data(), out.size() * 4);
    return out;
}

// What the device was handed: from the first sound sample on, exactly the engine's samples.
void ExpectPlayed(const std::filesystem::path& speakers, const std::vector<uint8_t>& wav,
                  int rate) {
    const std::vector<float> expected = RenderAll(*OpenWavSound(wav, rate));
    const std::vector<float> got = Floats(speakers);
    const auto first = std::find_if(got.begin(), got.end(), [](float v) { return v != 0; });
    ASSERT_GE(got.end() - first, long(expected.size()));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), first));
}

class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", Speakers().c_str(), 1);
        WriteFileAtomically(dir_ / "sweep.wav", Sweep(4000));
    }
    std::filesystem::path Speakers() const { return dir_ / "speakers.raw"; }
    ScratchDir dir_;
};

TEST_F(DeviceTest, HandsTheMixersSamplesToTheDevice) {
    const std::vector<uint8_t> wav = Sweep(4000);
    int rate = 0;
    {
        AudioOutput output;
        output.Open();
        rate = output.SampleRate();
        EXPECT_EQ(output.DriverName(), "disk");
        EXPECT_TRUE(rate == 44100 || rate == 48000);
        for (const int signal : {SIGINT, SIGTERM}) { // Ctrl+C and a kill still end the program
            struct sigaction action {};
            sigaction(signal, nullptr, &action);
            EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
        }
        Mixer& mixer = output.GetMixer();
        mixer.Play(MixerSlot::Sound, OpenWavSound(wav, rate));
        while (mixer.IsPlaying())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ExpectPlayed(Speakers(), wav, rate);
}

TEST_F(DeviceTest, VelmoraAudioRendersAndPlaysWhatTheEngineMakes) {
    const std::string in = (dir_ / "sweep.wav").string();
    const std::string a = (dir_ / "a.wav").string(), b = (dir_ / "b.wav").string();
    for (const std::string& out : {a, b})
        EXPECT_EQ(
            RunProgram(VELMORA_AUDIO_EXE, {"render", in, "-o", out, "--rate", "48000"}, dir_.Path())
                .ExitStatus,
            0);
    const std::vector<uint8_t> rendered = fileio::ReadFileBytes(a);
    EXPECT_EQ(rendered, fileio::ReadFileBytes(b)) << "two renders differ";
    const std::vector<uint8_t> wav = fileio::ReadFileBytes(in);
    EXPECT_EQ(rendered, EncodeWav16(RenderAll(*OpenWavSound(wav, 48000)), 48000));
    // 44.1 kHz unless told otherwise.
    EXPECT_EQ(RunProgram(VELMORA_AUDIO_EXE, {"render", in, "-o", a}, dir_.Path()).ExitStatus, 0);
    EXPECT_EQ(fileio::ReadFileBytes(a), EncodeWav16(RenderAll(*OpenWavSound(wav, 44100)), 44100));

    const ProgramRun played = RunProgram(VELMORA_AUDIO_EXE, {"play", in}, dir_.Path());
    EXPECT_EQ(played.ExitStatus, 0) << played.Err;
    int rate = 0;
    ASSERT_EQ(std::sscanf(played.Out.c_str(), "playing through disk at %d Hz", &rate), 1)
        << played.Out;
    ExpectPlayed(Speakers(), wav, rate);
}

// However long the sound, render holds a block of it at a time: 256 kB of 8-bit samples at
// 1 kHz make 45 MB of WAV at 44.1 kHz. A full disk ends it with an error, and the file it
// would have replaced stays whole.
TEST_F(DeviceTest, VelmoraAudioRendersInBoundedMemoryAndKeepsTheOldFileOnAFullDisk) {
    const std::vector<uint8_t> samples(256 << 10, 0xA0);
    WriteFileAtomically(dir_ / "long.wav", RiffWave({Fmt(1, 1, 1000, 1, 8), {"data", samples}}));
    const std::vector<std::string> args = {"render", (dir_ / "long.wav").string(), "-o",
                                           (dir_ / "out.wav").string()};
    const ProgramRun run = RunProgram(VELMORA_AUDIO_EXE, args, dir_.Path());
    EXPECT_EQ(run.ExitStatus, 0) << run.Err;
    EXPECT_GT(std::filesystem::file_size(dir_ / "out.wav"), 44u << 20);
    EXPECT_LT(run.PeakMemoryKb, 24 << 10) << "kB";

    WriteFileAtomically(dir_ / "out.wav", std::vector<uint8_t>{'o', 'l', 'd'});
    const FileSizeLimit full(64 << 10);
    const ProgramRun failed = RunProgram(VELMORA_AUDIO_EXE, args, dir_.Path());
    EXPECT_EQ(failed.ExitStatus, 1);
    EXPECT_NE(failed.Err.find("Disk full"), std::string::npos) << failed.Err;
    EXPECT_EQ(fileio::ReadFileBytes(dir_ / "out.wav"), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

TEST_F(DeviceTest, VelmoraAudioSaysWhatItCannotDo) {
    WriteFileAtomically(dir_ / "notes.txt", std::vector<uint8_t>{'h', 'i'});
    const std::string in = (dir_ / "sweep.wav").string(), out = (dir_ / "out.wav").string();
    const std::string text = (dir_ / "notes.txt").string(), missing = (dir_ / "none.wav").string();
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"render", text, "-o", out}, 1, "notes.txt: This is neither a WAV sound nor a MIDI tune."},
        {{"render", missing, "-o", out}, 1, "none.wav: File not found"},
        {{"render", in, "-o", out, "--rate", "5"}, 1, "--rate must be 8000 to 192000 Hz"},
        {{"play", text}, 1, "neither a WAV sound nor a MIDI tune"},
        {{"render", in}, 2, "usage: velmora-audio render IN -o OUT.wav [--rate R]"},
        {{"play", in, "-o", out}, 2, "usage:"},
        {{"mix", in}, 2, "usage:"},
    };
    for (const auto& [args, status, message] : cases) {
        const ProgramRun run = RunProgram(VELMORA_AUDIO_EXE, args, dir_.Path());
        EXPECT_EQ(run.ExitStatus, status) << message;
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
