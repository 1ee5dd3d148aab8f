// Speed of the General MIDI synthesizer: each tune rendered whole, offline, on one core, as
// the median of several runs, in times faster than real time. With --write DIR it also writes
// the demonstration tunes and their renderings at 44.1 kHz, to listen to and to compare.
#include "BenchTiming.h"
#include "DemoTunes.h"
#include "FileIO.h"
#include "MidiTune.h"
#include "WavWriter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kRate = 44100;

void Measure(const std::string& name, const std::vector<uint8_t>& midi, int runs) {
    size_t frames = 0;
    const double seconds =
        bench::MedianSeconds(runs, [&] { frames = RenderMidiTune(midi, kRate).size() / 2; });
    const double audio = double(frames) / kRate;
    std::printf("%-16s %7.2f s of audio  %8.2f ms  %7.0fx real time\n", name.c_str(), audio,
                seconds * 1e3, audio / seconds);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write") {
        const std::filesystem::path dir = argv[2];
        std::filesystem::create_directories(dir);
        for (const demo::Tune& t : demo::All()) {
            fileio::WriteFileBytes((dir / (t.Name + ".mid")).string(), t.Midi);
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
    return 0;
}
