// velmora-audio: what a card will play, to a WAV file or to the speakers.
//
//   velmora-audio render IN -o OUT.wav [--rate R]
//   velmora-audio play IN
//
// IN is a WAV sound or a MIDI tune, told apart by its content, not its name. render writes
// 16-bit stereo at R Hz (44100 unless given), the same bytes on every run; play returns when
// the sound has played. Errors go to standard error; the exit status is 0 only on success.

#include "AudioFile.h"
#include "AudioOutput.h"
#include "FileIO.h"
#include "WavWriter.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: velmora-audio render IN -o OUT.wav [--rate R]\n"
                               "       velmora-audio play IN\n";
constexpr int kDefaultRate = 44100;
constexpr int kMinRate = 8000;
constexpr int kMaxRate = 192000;
constexpr size_t kBlockFrames = 4096;

struct Arguments {
    std::string Command, In, Out;
    int Rate = kDefaultRate;
};

bool Parse(int argc, char** argv, Arguments& a) {
    if (argc < 3) return false;
    a.Command = argv[1];
    a.In = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        if (arg == "-o" && a.Command == "render")
            a.Out = argv[++i];
        else if (arg == "--rate" && a.Command == "render") {
            try {
                a.Rate = std::stoi(argv[++i]);
            } catch (const std::exception&) {
                return false;
            }
        } else
            return false;
    }
    if (a.Command == "render") return !a.Out.empty();
    return a.Command == "play";
}

void Render(const Arguments& a) {
    if (a.Rate < kMinRate || a.Rate > kMaxRate)
        throw std::runtime_error("--rate must be " + std::to_string(kMinRate) + " to " +
                                 std::to_string(kMaxRate) + " Hz");
    // Block by block, so that memory stays the same however long the sound lasts; the source
    // keeps what it needs of the file, which goes before the first block.
    const std::unique_ptr<AudioSource> source = OpenAudioFile(fileio::ReadFileBytes(a.In), a.Rate);
    WavFileWriter out(a.Out, a.Rate);
    std::vector<float> block(2 * kBlockFrames);
    for (size_t got = kBlockFrames; got == kBlockFrames;) {
        got = source->Render(block.data(), kBlockFrames);
        out.Append({block.data(), 2 * got});
    }
    out.Close();
}

void Play(const Arguments& a) {
    const std::vector<uint8_t> file = fileio::ReadFileBytes(a.In);
    const MixerSlot slot = AudioFileSlot(file);
    AudioOutput output;
    output.Open();
    Mixer& mixer = output.GetMixer();
    mixer.Play(slot, OpenAudioFile(file, output.SampleRate()));
    std::printf("playing through %s at %d Hz\n", output.DriverName().c_str(), output.SampleRate());
    std::fflush(stdout);
    using namespace std::chrono_literals;
    while (mixer.IsPlaying())
        std::this_thread::sleep_for(10ms);
    // The device still holds the last block or two the mixer handed it.
    std::this_thread::sleep_for(100ms);
}

} // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!Parse(argc, argv, arguments)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        if (arguments.Command == "render")
            Render(arguments);
        else
            Play(arguments);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora-audio: %s: %s\n", arguments.In.c_str(), e.what());
        return 1;
    }
}
