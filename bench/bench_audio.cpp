// Speed of WAV decoding and resampling: how many times faster than real time a sound of each
// common kind is opened and rendered to the end at the output rate. The files are made by sox
// (10 s of sweeps), so the decoder reads what real encoders write.
//
//   bench_audio [runs]

#include "BenchTiming.h"
#include "FileIO.h"
#include "WavSound.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr double kSeconds = 10;

struct Case {
    const char* Name;
    const char* SoxFormat; // sox's output options
    int OutputRate;
};

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Wall-clock and processor seconds of opening the sound and rendering it to its end. Other
// programs share the machine's cores, so the processor time is the steadier figure.
std::pair<double, double> Render(const std::vector<uint8_t>& file, int rate,
                                 std::vector<float>& buffer) {
    const double cpu = ThreadCpuSeconds();
    const double wall = bench::Seconds([&] {
        const auto source = OpenWavSound(file, rate);
        while (source->Render(buffer.data(), buffer.size() / 2) == buffer.size() / 2) {
        }
    });
    return {wall, ThreadCpuSeconds() - cpu};
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    const std::vector<Case> cases = {
        {"PCM 16-bit stereo 44.1 kHz", "-r 44100 -c 2 -e signed -b 16", 48000},
        {"PCM 16-bit stereo 48 kHz (no resampling)", "-r 48000 -c 2 -e signed -b 16", 48000},
        {"PCM 8-bit mono 22.05 kHz", "-r 22050 -c 1 -e unsigned -b 8", 48000},
        {"PCM 8-bit mono 11.025 kHz", "-r 11025 -c 1 -e unsigned -b 8", 44100},
        {"IMA ADPCM stereo 22.05 kHz", "-r 22050 -c 2 -e ima-adpcm", 44100},
        {"MS ADPCM mono 22.05 kHz", "-r 22050 -c 1 -e ms-adpcm", 48000},
        {"PCM 24-bit stereo 96 kHz", "-r 96000 -c 2 -e signed -b 24", 48000},
        {"float 32-bit 5.1 48 kHz", "-r 48000 -c 6 -e floating-point -b 32", 44100},
        {"PCM 16-bit mono 44.1 kHz", "-r 44100 -c 1 -e signed -b 16", 48000},
    };
    const std::string path = bench::ScratchDir() + "/velmora-bench-audio.wav";
    std::vector<float> buffer(2 * 1024);
    std::printf("WAV decoding and resampling, %g s sounds, median of %d runs\n", kSeconds, runs);
    std::printf("%-44s %6s %8s %8s %10s %10s\n", "file", "to Hz", "wall ms", "cpu ms", "x (wall)",
                "x (cpu)");
    for (const Case& c : cases) {
        const std::string command = std::string("sox -D -n ") + c.SoxFormat + " " + path +
                                    " synth " + std::to_string(kSeconds) +
                                    " sine 50-15000 sine 15000-50 vol 0.9";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "sox failed: %s\n", command.c_str());
            return 1;
        }
        const std::vector<uint8_t> file = fileio::ReadFileBytes(path);
        std::vector<double> wall, cpu;
        Render(file, c.OutputRate, buffer); // warm-up
        for (int i = 0; i < runs; ++i) {
            const auto [w, p] = Render(file, c.OutputRate, buffer);
            wall.push_back(w);
            cpu.push_back(p);
        }
        const double w = bench::Median(wall), p = bench::Median(cpu);
        std::printf("%-44s %6d %8.2f %8.2f %10.0f %10.0f\n", c.Name, c.OutputRate, w * 1000,
                    p * 1000, kSeconds / w, kSeconds / p);
    }
    std::remove(path.c_str());
    return 0;
}
