// Speed of the General MIDI synthesizer: each tune rendered whole, offline, on one core, as
// the median of several runs of wall-clock and of processor time, in times faster than real
// time. With --write DIR it also writes
// the demonstration tunes and their renderings at 44.1 kHz, to listen to and to compare.
#include "AtomicFile.h"
#include "BenchTiming.h"
#include "DemoTunes.h"
#include "FileIO.h"
#include "MidiTune.h"
#include "WavWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

namespace {

constexpr int kRate = 44100;

// Processor time of this thread: on a machine shared with other work, what one core spent.
double CpuSeconds(const std::function<void()>& work) {
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    work();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) + 1e-9 * double(end.tv_nsec - start.tv_nsec);
}

// Times faster than real time on one core (processor time).
double Measure(const std::string& name, const std::vector<uint8_t>& midi, int runs) {
    size_t frames = 0;
    const auto render = [&] { frames = RenderMidiTune(midi, kRate).size() / 2; };
    const double wall = bench::MedianSeconds(runs, render);
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i)
        cpu.push_back(CpuSeconds(render));
    const double audio = double(frames) / kRate, cpuMedian = bench::Median(cpu);
    std::printf("%-24s %6.2f s of audio  wall %8.2f ms %6.0fx  cpu %8.2f ms %6.0fx real time\n",
                name.c_str(), audio, wall * 1e3, audio / wall, cpuMedian * 1e3, audio / cpuMedian);
    return audio / cpuMedian;
}

// Real tunes: Debian's openttd-openmsx package (a benchmark-only package), when installed.
constexpr const char* kTuneDir = "/usr/share/games/openttd/baseset/openmsx";

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write") {
        const std::filesystem::path dir = argv[2];
        std::filesystem::create_directories(dir);
        for (const demo::Tune& t : demo::All()) {
            WriteFileAtomically((dir / (t.Name + ".mid")).string(), t.Midi);
            WriteWavFile((dir / (t.Name + ".wav")).string(), RenderMidiTune(t.Midi, kRate), kRate);
        }
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    std::printf("median of %d runs, %d Hz stereo\n", runs, kRate);
#ifdef VELMORA_SAMPLE_TUNE
    Measure("sample tune", fileio::ReadFileBytes(VELMORA_SAMPLE_TUNE), runs);
#endif
    for (const demo::Tune& t : demo::All())
        if (t.Name != "tour") Measure(t.Name, t.Midi, runs);
    std::vector<std::filesystem::path> tunes;
    if (std::filesystem::exists(kTuneDir))
        for (const auto& e : std::filesystem::directory_iterator(kTuneDir))
            if (e.path().extension() == ".mid") tunes.push_back(e.path());
    std::sort(tunes.begin(), tunes.end());
    double slowest = 1e9;
    std::string slowestName;
    for (const auto& path : tunes) {
        const double speed =
            Measure(path.stem().string(), fileio::ReadFileBytes(path.string()), runs);
        if (speed < slowest) slowest = speed, slowestName = path.stem().string();
    }
    if (!tunes.empty())
        std::printf("busiest real tune: %s, %.0fx real time (processor time)\n",
                    slowestName.c_str(), slowest);
    return 0;
}
