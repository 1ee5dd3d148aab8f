// Our General MIDI synthesizer against FluidSynth with the FluidR3 soundfont, on the same
// files: each family's typical program at C3, C4 and C5 (the levels of harmonics 1-12, the
// attack, decay and release times), the drum kit, and real tunes (loudness, stereo image,
// brightness, speed). Not a test: it prints figures, and with --pictures writes side-by-side
// spectrograms (ours above, FluidSynth's below).
//
//   bench_gm [--dir DIR] [--notes] [--tunes] [--levels] [--detail] [--pictures] [TUNE.mid ...]
#include "AtomicFile.h"
#include "AudioFile.h"
#include "BenchTiming.h"
#include "DemoTunes.h"
#include "FileIO.h"
#include "MidiBuilder.h"
#include "MidiTune.h"
#include "SoundMeasures.h"
#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using midibuild::Track;

namespace {

constexpr int kRate = 44100;
constexpr const char* kSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
constexpr const char* kTuneDir = "/usr/share/games/openttd/baseset/openmsx";
constexpr int kKeys[] = {48, 60, 72}; // C3, C4, C5
constexpr int kLevelKeys[] = {36, 48, 60, 72, 84};
constexpr double kHold = 3.0, kSpacing = 5.0;
constexpr int kDrumChannel = 9;

struct Family {
    const char* Name;
    int Program; // -1: drums, Key is the drum
    int Key = 0;
    bool Unpitched() const { return Program < 0 || Program >= 120; }
};

// Each family's typical program; the drum kit by four of its sounds.
const Family kFamilies[] = {
    {"piano", 0},           {"chromatic perc", 11}, {"organ", 19},     {"drawbar organ", 16},
    {"guitar", 24},         {"bass", 33},           {"strings", 40},   {"ensemble", 48},
    {"brass", 56},          {"reed", 65},           {"pipe", 73},      {"synth lead", 80},
    {"synth pad", 89},      {"synth effects", 99},  {"ethnic", 105},   {"percussive", 114},
    {"sound effects", 122}, {"kick", -1, 36},       {"snare", -1, 38}, {"closed hat", -1, 42},
    {"crash", -1, 49},
};

std::string Quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

std::vector<float> ReadWav(const fs::path& path) {
    const auto bytes = fileio::ReadFileBytes(path.string());
    const auto source = OpenAudioFile(bytes, kRate);
    std::vector<float> samples;
    for (size_t got = 4096; got == 4096;) {
        const size_t at = samples.size();
        samples.resize(at + 2 * 4096);
        got = source->Render(samples.data() + at, 4096);
        samples.resize(at + 2 * got);
    }
    return samples;
}

// Which of FluidSynth's effects are on.
enum class Effects { None, Chorus, Reverb, Both };

// FluidSynth's rendering of `midi` (kept in `dir` with the file, and made again only when
// the file changes).
std::vector<float> Peer(const fs::path& dir, const std::string& name,
                        const std::vector<uint8_t>& midi, Effects effects) {
    const fs::path mid = dir / (name + ".mid"), wav = dir / (name + "_fluid.wav");
    const bool same =
        fs::exists(mid) && fs::exists(wav) && fileio::ReadFileBytes(mid.string()) == midi;
    if (!same) {
        WriteFileAtomically(mid.string(), midi);
        const std::string command = "fluidsynth -ni -q -T wav -O float -r 44100 " +
                                    std::string(effects == Effects::None     ? "-R 0 -C 0 "
                                                : effects == Effects::Chorus ? "-R 0 "
                                                : effects == Effects::Reverb ? "-C 0 "
                                                                             : "") +
                                    "-F " + Quote(wav) + " " + kSoundFont + " " + Quote(mid) +
                                    " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "fluidsynth failed: %s\n", command.c_str());
            std::exit(1);
        }
    }
    return ReadWav(wav);
}

// Every family's notes in turn, kSpacing seconds apart, in the room each player gives a file
// that sets no sends.
std::vector<uint8_t> FamilyNotes() {
    Track t;
    t.Tempo(0, 500000); // 960 ticks a second at 480 a quarter
    const auto tick = [](double s) { return uint32_t(s * 960); };
    double at = 0;
    for (const Family& f : kFamilies)
        for (int key : kKeys) {
            const int channel = f.Program < 0 ? kDrumChannel : 0;
            if (f.Program >= 0) t.Program(tick(at), 0, f.Program);
            t.Note(tick(at + 0.05), tick(kHold), channel, f.Program < 0 ? f.Key : key, 100);
            at += kSpacing;
        }
    return midibuild::File(0, 480, {t});
}

std::string ProgramName(const Family& f) {
    return f.Program < 0 ? "k" + std::to_string(f.Key) : std::to_string(f.Program);
}

// The families in turn for the eye: C3, C4 and C5 of each, 0.8 s on and 0.2 s off, in the
// room a file that sets no sends gets.
std::vector<uint8_t> FamilyTour() {
    Track t;
    t.Tempo(0, 500000);
    const auto tick = [](double s) { return uint32_t(s * 960); };
    double at = 0;
    for (const Family& f : kFamilies)
        for (int key : kKeys) {
            const int channel = f.Program < 0 ? kDrumChannel : 0;
            if (f.Program >= 0) t.Program(tick(at), 0, f.Program);
            t.Note(tick(at + 0.05), tick(0.8), channel, f.Program < 0 ? f.Key : key, 100);
            at += 1.0;
        }
    return midibuild::File(0, 480, {t});
}

double KeyHz(int key) {
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

double Ratio(double ours, double peer, double floor) {
    return std::max(ours, floor) / std::max(peer, floor);
}

void PrintLevels(const char* who, const measure::Levels& l) {
    std::printf("      %-6s", who);
    for (double v : l)
        std::printf(" %5.0f", v);
    std::printf("\n");
}

// Side by side: ours in the first channel, the peer's in the second, both mono; sox draws
// the first above the second.
void Picture(const fs::path& dir, const std::string& name, const std::vector<float>& ours,
             const std::vector<float>& peer) {
    const auto a = measure::Mono(ours), b = measure::Mono(peer);
    std::vector<float> pair(2 * std::max(a.size(), b.size()));
    for (size_t i = 0; i < a.size(); ++i)
        pair[2 * i] = a[i];
    for (size_t i = 0; i < b.size(); ++i)
        pair[2 * i + 1] = b[i];
    const fs::path wav = dir / (name + "_pair.wav"), png = dir / (name + ".png");
    WriteWavFile(wav.string(), pair, kRate);
    const std::string command = "sox " + Quote(wav) + " -n spectrogram -x 2400 -y 300 -z 90 -t " +
                                Quote(name + ": ours above, FluidSynth + FluidR3 below") + " -o " +
                                Quote(png);
    if (std::system(command.c_str()) == 0) std::printf("picture: %s\n", png.c_str());
}

void Notes(const fs::path& dir, bool detail, bool pictures) {
    const auto midi = FamilyNotes();
    const auto ours = RenderMidiTune(midi, kRate);
    const auto peer = Peer(dir, "family_notes", midi, Effects::Both);
    const auto ourMono = measure::Mono(ours), peerMono = measure::Mono(peer);
    if (pictures) {
        const auto tour = FamilyTour();
        Picture(dir, "family_tour", RenderMidiTune(tour, kRate),
                Peer(dir, "family_tour", tour, Effects::Both));
    }

    std::printf("\nFamilies at C3, C4, C5, velocity 100, default room. Harmonics 1-12 (bands for "
                "drums and effects): "
                "mean absolute difference in dB; attack, decay (-20 dB while held), release "
                "(-20 dB): ours / FluidSynth\n");
    std::printf("%-15s %4s %6s %6s %6s %6s  %6s %6s %6s  %s\n", "family", "prog", "C3", "C4", "C5",
                "mean", "attack", "decay", "relse", "level dB (ours - fluid)");
    double at = 0;
    for (const Family& f : kFamilies) {
        double mads[3], attack = 0, decay = 0, release = 0, level = 0;
        int held = 0;
        for (int k = 0; k < 3; ++k, at += kSpacing) {
            const auto a = measure::Slice(ourMono, 1, at, at + kSpacing, kRate);
            const auto b = measure::Slice(peerMono, 1, at, at + kSpacing, kRate);
            const auto sa = measure::ShapeOf(a, kRate, kHold + 0.05);
            const auto sb = measure::ShapeOf(b, kRate, kHold + 0.05);
            const double skip = std::clamp(sb.Attack, 0.03, 1.0), length = 0.3;
            const auto la =
                f.Unpitched()
                    ? measure::BandLevels(a, kRate, sa.Onset + (f.Program < 0 ? 0 : skip), length)
                    : measure::HarmonicLevels(a, kRate, KeyHz(kKeys[k]), sa.Onset + skip, length);
            const auto lb =
                f.Unpitched()
                    ? measure::BandLevels(b, kRate, sb.Onset + (f.Program < 0 ? 0 : skip), length)
                    : measure::HarmonicLevels(b, kRate, KeyHz(kKeys[k]), sb.Onset + skip, length);
            mads[k] = measure::MeanAbsoluteDifference(la, lb);
            attack += std::log(Ratio(sa.Attack, sb.Attack, 0.01)) / 3;
            const double da = sa.Held ? kHold : sa.Decay, db = sb.Held ? kHold : sb.Decay;
            decay += std::log(Ratio(da, db, 0.02)) / 3;
            release += std::log(Ratio(sa.Release, sb.Release, 0.02)) / 3;
            held += sa.Held && sb.Held;
            const auto stereoA = measure::Slice(ours, 2, at, at + kSpacing, kRate);
            const auto stereoB = measure::Slice(peer, 2, at, at + kSpacing, kRate);
            level +=
                (measure::GatedRmsDb(stereoA, kRate) - measure::GatedRmsDb(stereoB, kRate)) / 3;
            if (detail) {
                std::printf(
                    "  %s (%s) key %d: ours attack %.2f decay %s%.2f release %.2f | fluid attack "
                    "%.2f decay %s%.2f release %.2f\n",
                    f.Name, ProgramName(f).c_str(), kKeys[k], sa.Attack, sa.Held ? ">" : "",
                    sa.Decay, sa.Release, sb.Attack, sb.Held ? ">" : "", sb.Decay, sb.Release);
                PrintLevels("ours", la);
                PrintLevels("fluid", lb);
            }
        }
        const std::string prog = ProgramName(f);
        std::printf("%-15s %4s %6.1f %6.1f %6.1f %6.1f  %6.2f %6.2f %6.2f  %+6.1f%s\n", f.Name,
                    prog.c_str(), mads[0], mads[1], mads[2], (mads[0] + mads[1] + mads[2]) / 3,
                    std::exp(attack), std::exp(decay), std::exp(release), level,
                    held == 3 ? "  (both held)" : "");
    }
}

// Every program at C2 to C6 and every drum, one at a time: how much louder ours is.
void Levels(const fs::path& dir) {
    Track t;
    t.Tempo(0, 500000);
    for (int c : {0, kDrumChannel})
        t.Control(0, c, 91, 0).Control(0, c, 93, 0);
    constexpr double kNote = 1.0, kGap = 2.0;
    double at = 0;
    const auto tick = [](double s) { return uint32_t(s * 960); };
    for (int p = 0; p < 128; ++p) {
        t.Program(tick(at), 0, p);
        for (int key : kLevelKeys)
            t.Note(tick(at + 0.05), tick(kNote), 0, key, 100), at += kGap;
    }
    for (int key = 35; key <= 81; ++key)
        t.Note(tick(at + 0.05), tick(kNote), kDrumChannel, key, 100), at += kGap;
    const auto midi = midibuild::File(0, 480, {t});
    const auto ours = RenderMidiTune(midi, kRate);
    const auto peer = Peer(dir, "levels", midi, Effects::None);
    // With the sends at 0, whatever chorus and reverb FluidSynth adds is the soundfont's own.
    const auto wet = Peer(dir, "levels_wet", midi, Effects::Both);
    const auto level = [](const std::vector<float>& a, double from, double to) {
        const auto part = measure::Slice(a, 2, from, to, kRate);
        double sum = 0;
        for (float v : part)
            sum += double(v) * v;
        return 10 * std::log10(sum / double(std::max<size_t>(part.size(), 1)) + 1e-30);
    };
    std::printf("\nLevels at velocity 100, sends at 0 (what effects FluidSynth adds are the "
                "soundfont's own): energy of each note, ours - FluidSynth in dB; L/R correlation "
                "of ours, FluidSynth's and FluidSynth's dry; the tail 0.5-0.9 s after the last "
                "note against the note, in dB\n");
    at = 0;
    for (int p = 0; p < 128 + 47; ++p) {
        double diff = 0;
        const int notes = p < 128 ? 5 : 1;
        const double from = at;
        std::string keys;
        for (int k = 0; k < notes; ++k, at += kGap) {
            const double d = level(ours, at, at + kGap) - level(wet, at, at + kGap);
            diff += d / notes;
            keys += " " + std::to_string(d);
        }
        if (p < 128) std::printf("KEYS program %d%s\n", p, keys.c_str());
        const auto a = measure::Slice(ours, 2, from, at, kRate);
        const auto b = measure::Slice(wet, 2, from, at, kRate);
        const auto c = measure::Slice(peer, 2, from, at, kRate);
        // The last note's tail, 0.5 to 0.9 s after it was let go, against the note.
        const auto tail = [&](const std::vector<float>& x) {
            return level(x, at - kGap + 1.55, at - kGap + 1.95) -
                   level(x, at - kGap, at - kGap + 1.05);
        };
        std::printf("LEVEL %s %d %+.1f  L/R %.2f %.2f dry %.2f  tail %.1f %.1f dry %.1f  "
                    "centroid %.0f %.0f\n",
                    p < 128 ? "program" : "drum", p < 128 ? p : p - 128 + 35, diff,
                    measure::LeftRightCorrelation(a, kRate),
                    measure::LeftRightCorrelation(b, kRate),
                    measure::LeftRightCorrelation(c, kRate), tail(ours), tail(wet), tail(peer),
                    measure::SpectralBrightness(a, kRate).CentroidHz,
                    measure::SpectralBrightness(b, kRate).CentroidHz);
    }
}

// The room: a wood block struck with the reverb send at 127 (how loud and long the tail is
// after the block has stopped, and how wide), and a held organ chord with the chorus send at
// 127 (how much wider it makes it), both with the players' effects on.
void Room(const fs::path& dir) {
    Track t;
    t.Tempo(0, 500000);
    const auto tick = [](double s) { return uint32_t(s * 960); };
    t.Program(0, 0, 115).Control(0, 0, 91, 127).Control(0, 0, 93, 0);
    t.Note(tick(0.1), tick(0.1), 0, 72, 110);
    t.Program(tick(3.0), 1, 19).Control(tick(3.0), 1, 91, 0).Control(tick(3.0), 1, 93, 127);
    for (int key : {60, 64, 67})
        t.Note(tick(3.1), tick(2.0), 1, key, 100);
    const auto midi = midibuild::File(0, 480, {t});
    const auto ours = RenderMidiTune(midi, kRate);
    const auto peer = Peer(dir, "room", midi, Effects::Both);
    std::printf(
        "\nRoom, effects on. Reverb (wood block, send 127): tail energy 0.35-3 s against the "
        "first 0.25 s, time from -10 to -30 dB x 3, L/R correlation of the tail. Chorus "
        "(organ chord, send 127): L/R correlation\n");
    std::printf("%-8s %8s %8s %7s %8s\n", "", "tail dB", "RT60 s", "L/R", "chorus");
    for (const auto* a : {&ours, &peer}) {
        const auto head = measure::Slice(*a, 2, 0.1, 0.35, kRate);
        const auto tail = measure::Slice(*a, 2, 0.45, 3.0, kRate);
        const auto energy = [](const std::vector<float>& x) {
            double sum = 0;
            for (float v : x)
                sum += double(v) * v;
            return 10 * std::log10(sum + 1e-30);
        };
        const auto mono = measure::Mono(measure::Slice(*a, 2, 0.45, 3.0, kRate));
        // The tail's envelope in 20 ms frames, from its start.
        std::vector<double> env;
        for (size_t at = 0; at + 882 <= mono.size(); at += 882) {
            double sum = 0;
            for (size_t i = 0; i < 882; ++i)
                sum += double(mono[at + i]) * mono[at + i];
            env.push_back(10 * std::log10(sum / 882 + 1e-30));
        }
        double rt = 0;
        if (!env.empty()) {
            const double top = *std::max_element(env.begin(), env.end());
            size_t a10 = 0, a30 = 0;
            while (a10 < env.size() && env[a10] > top - 10)
                ++a10;
            a30 = a10;
            while (a30 < env.size() && env[a30] > top - 30)
                ++a30;
            rt = double(a30 - a10) * 0.02 * 3;
        }
        const auto chord = measure::Slice(*a, 2, 3.3, 5.0, kRate);
        std::printf("%-8s %8.1f %8.2f %7.2f %8.2f\n", a == &ours ? "ours" : "fluid",
                    energy(tail) - energy(head), rt, measure::LeftRightCorrelation(tail, kRate),
                    measure::LeftRightCorrelation(chord, kRate));
    }
}

struct TuneFile {
    std::string Name;
    std::vector<uint8_t> Midi;
};

void Tunes(const fs::path& dir, const std::vector<TuneFile>& tunes, bool pictures) {
    std::printf("\nTunes, FluidSynth with its default gain, reverb and chorus. Loudness: gated "
                "RMS; L/R: correlation; centroid: power-weighted mean frequency\n");
    std::printf("%-28s %6s  %7s %7s %6s  %5s %5s  %6s %6s  %5s %5s  %6s %5s\n", "tune", "secs",
                "ours dB", "fluid", "diff", "L/R", "fluid", "centrd", "fluid", ">8k%", "fluid",
                "peak", "x rt");
    double worstSpeed = 1e9;
    for (const TuneFile& t : tunes) {
        std::vector<float> ours;
        const double seconds = bench::Seconds([&] { ours = RenderMidiTune(t.Midi, kRate); });
        const auto peer = Peer(dir, t.Name, t.Midi, Effects::Both);
        const double length = double(ours.size() / 2) / kRate;
        const double a = measure::GatedRmsDb(ours, kRate), b = measure::GatedRmsDb(peer, kRate);
        const auto ba = measure::SpectralBrightness(ours, kRate);
        const auto bb = measure::SpectralBrightness(peer, kRate);
        worstSpeed = std::min(worstSpeed, length / seconds);
        std::printf("%-28s %6.1f  %7.1f %7.1f %+6.1f  %5.2f %5.2f  %6.0f %6.0f  %5.2f %5.2f  %6.1f "
                    "%5.0f\n",
                    t.Name.c_str(), length, a, b, a - b, measure::LeftRightCorrelation(ours, kRate),
                    measure::LeftRightCorrelation(peer, kRate), ba.CentroidHz, bb.CentroidHz,
                    100 * ba.ShareAbove8k, 100 * bb.ShareAbove8k, measure::PeakDb(ours),
                    length / seconds);
        if (pictures) Picture(dir, t.Name, ours, peer);
    }
    std::printf("slowest: %.0fx real time (one run each; bench_synth gives medians)\n", worstSpeed);
}

} // namespace

int main(int argc, char** argv) {
    fs::path dir = fs::path(bench::ScratchDir()) / "velmora_bench_gm";
    bool notes = false, tunes = false, detail = false, pictures = false, levels = false;
    std::vector<TuneFile> named;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dir" && i + 1 < argc)
            dir = argv[++i];
        else if (arg == "--notes")
            notes = true;
        else if (arg == "--tunes")
            tunes = true;
        else if (arg == "--detail")
            detail = true;
        else if (arg == "--levels")
            levels = true;
        else if (arg == "--pictures")
            pictures = true;
        else
            named.push_back({fs::path(arg).stem().string(), fileio::ReadFileBytes(arg)});
    }
    if (!notes && !tunes && !levels) notes = tunes = true;
    fs::create_directories(dir);
    if (!fs::exists(kSoundFont)) {
        std::fprintf(stderr, "%s missing: apt-get install fluid-soundfont-gm\n", kSoundFont);
        return 1;
    }
    if (levels) Levels(dir);
    if (notes) Notes(dir, detail, pictures), Room(dir);
    if (tunes) {
        std::vector<TuneFile> all = named;
        if (named.empty()) {
            std::vector<fs::path> files;
            if (fs::exists(kTuneDir))
                for (const auto& e : fs::directory_iterator(kTuneDir))
                    if (e.path().extension() == ".mid") files.push_back(e.path());
            std::sort(files.begin(), files.end());
            for (const auto& p : files)
                all.push_back({p.stem().string(), fileio::ReadFileBytes(p.string())});
            for (const demo::Tune& t : demo::All())
                all.push_back({t.Name, t.Midi});
        }
        Tunes(dir, all, pictures);
    }
    return 0;
}
