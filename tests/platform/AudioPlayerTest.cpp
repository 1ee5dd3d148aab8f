// The media player on the sound engine, through SDL's disk driver (a file stands for the
// speakers), and the fake the editor tests use, held to the same contract.

#include "AtomicFile.h"
#include "EngineAudioPlayer.h"
#include "FakeAudioPlayer.h"
#include "FileIO.h"
#include "WavWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotAudio = "This is neither a WAV sound nor a MIDI tune.";

class AudioPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir_);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (dir_ / "speakers.raw").c_str(), 1);
        WriteFileAtomically(Path("text.wav"), std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'});
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Sound(const std::string& name, double seconds) const {
        WriteWavFile(Path(name), std::vector<float>(size_t(2 * 22050 * seconds), 0.25f), 22050);
        return Path(name);
    }

    fs::path dir_ = fs::temp_directory_path() / ("velmora-player-" + std::to_string(::getpid()));
};

// What the editors rely on, whichever player they have.
void KeepsThePlayerContract(AudioPlayer& player, const std::string& sound,
                            const std::string& broken) {
    EXPECT_THROW(player.Play(), EAudioPlayer); // nothing open yet
    player.SetFileName(sound);
    player.Open();
    EXPECT_FALSE(player.IsPlaying());
    player.Play();
    EXPECT_TRUE(player.IsPlaying());
    player.Play(); // from the beginning again
    EXPECT_TRUE(player.IsPlaying());
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    player.Stop(); // stopping a stopped player does nothing

    player.Play();
    player.SetFileName(broken);
    try {
        player.Open();
        ADD_FAILURE() << "opened " << broken;
    } catch (const EAudioPlayer& e) {
        EXPECT_STREQ(e.what(), kNotAudio);
    }
    EXPECT_FALSE(player.IsPlaying()); // opening closed what played before
    EXPECT_THROW(player.Play(), EAudioPlayer);
}

TEST_F(AudioPlayerTest, EngineAndFakeKeepTheSameContract) {
    AudioOutput output;
    EngineAudioPlayer engine(output);
    KeepsThePlayerContract(engine, Sound("long.wav", 5), Path("text.wav"));
    FakeAudioPlayer fake;
    fake.OpenErrors[Path("text.wav")] = kNotAudio;
    KeepsThePlayerContract(fake, Path("long.wav"), Path("text.wav"));
}

// A sound stops playing by itself at its end; a missing file fails with the file's error.
TEST_F(AudioPlayerTest, EndsWithTheSoundAndReportsMissingFiles) {
    AudioOutput output;
    EngineAudioPlayer player(output);
    player.SetFileName(Sound("short.wav", 0.05));
    player.Open();
    player.Play();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (player.IsPlaying() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(player.IsPlaying());

    player.SetFileName(Path("missing.wav"));
    try {
        player.Open();
        ADD_FAILURE() << "opened a missing file";
    } catch (const EAudioPlayer& e) {
        EXPECT_STREQ(e.what(), fileio::kFileNotFound);
    }
}

// The device's own words reach the editor when it cannot be opened.
TEST_F(AudioPlayerTest, ReportsTheDevicesErrorText) {
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    AudioOutput output;
    EngineAudioPlayer player(output);
    player.SetFileName(Sound("sound.wav", 0.1));
    try {
        player.Open();
        ADD_FAILURE() << "opened a device that does not exist";
    } catch (const EAudioPlayer& e) {
        EXPECT_STREQ(e.what(), "Audio target 'nosuchdriver' not available");
    }
    EXPECT_FALSE(player.IsPlaying());
}

} // namespace
