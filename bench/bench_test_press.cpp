// From the Test press to the first sample handed to the device: the media player's Test step
// (set the file, open the device for it, play) on a 10 s 44.1 kHz stereo WAV, until the first
// sample of the sound reaches SDL's disk driver, which writes to a file what it is handed and
// paces itself like a sound card (one 1024-frame buffer at a time). Measured for the first
// press, which opens the device, and for later presses, which find it open, at moments spread
// over the device's cycle.
//
//   bench_test_press [runs]

#include "BenchTiming.h"
#include "EngineAudioPlayer.h"
#include "WavWriter.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Watches the driver's file from its current end for the first sample that is not silence.
class Speakers {
  public:
    explicit Speakers(const std::string& path) : path_(path) { offset_ = Size(); }
    // Seconds from `start` until a sample that is not silence has been written.
    double WaitForSound(Clock::time_point start) {
        for (;;) {
            const int fd = ::open(path_.c_str(), O_RDONLY);
            float samples[4096];
            ssize_t got = 0;
            while (fd >= 0 && (got = ::pread(fd, samples, sizeof samples, offset_)) >=
                                  ssize_t(sizeof(float))) {
                const size_t count = size_t(got) / sizeof(float);
                for (size_t i = 0; i < count; ++i)
                    if (samples[i] != 0) {
                        ::close(fd);
                        return std::chrono::duration<double>(Clock::now() - start).count();
                    }
                offset_ += off_t(count * sizeof(float));
            }
            if (fd >= 0) ::close(fd);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }

  private:
    off_t Size() const {
        struct stat st {};
        return ::stat(path_.c_str(), &st) == 0 ? st.st_size : 0;
    }
    std::string path_;
    off_t offset_;
};

double Press(EngineAudioPlayer& player, const std::string& wav, Speakers& speakers) {
    const Clock::time_point start = Clock::now();
    player.SetFileName(wav);
    player.Open();
    player.Play();
    return speakers.WaitForSound(start);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
    const std::string dir = bench::ScratchDir();
    const std::string wav = dir + "/velmora-press.wav", raw = dir + "/velmora-press.raw";
    std::vector<float> sound(2 * 44100 * 10);
    for (size_t i = 0; i < sound.size(); ++i)
        sound[i] = float(0.5 * std::cos(0.03 * double(i / 2)));
    WriteWavFile(wav, sound, 44100);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);

    std::vector<double> first, later;
    for (int i = 0; i < runs; ++i) {
        AudioOutput output;
        EngineAudioPlayer player(output);
        std::remove(raw.c_str());
        Speakers speakers(raw);
        first.push_back(Press(player, wav, speakers));
        player.Stop();
        // A press comes at any moment of the device's cycle, not just after it was handed a
        // buffer (which is when the first press was seen).
        std::this_thread::sleep_for(std::chrono::microseconds(1000 + 3001 * i % 25000));
        Speakers again(raw);
        later.push_back(Press(player, wav, again));
    }
    std::printf("Test press to the first sample handed to SDL's disk driver (10 s 44.1 kHz WAV, "
                "device at 48 kHz), median of %d runs:\n",
                runs);
    std::printf("  first press (opens the device): %6.1f ms   (worst %.1f ms)\n",
                bench::Median(first) * 1000, *std::max_element(first.begin(), first.end()) * 1000);
    std::printf("  later press (device open):      %6.1f ms   (worst %.1f ms)\n",
                bench::Median(later) * 1000, *std::max_element(later.begin(), later.end()) * 1000);
    std::remove(wav.c_str());
    std::remove(raw.c_str());
    return 0;
}
