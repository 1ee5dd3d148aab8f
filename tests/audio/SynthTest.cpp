// The synthesizer heard through whole MIDI files, as a card plays them: pitch, timing,
// controllers, voices, the end of a tune, and the same samples on every run.
#include "AudioTestSupport.h"
#include "GmSynth.h"
#include "MidiBuilder.h"
#include "WavWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace audiotest;
using midibuild::Track;

namespace {

constexpr int kReverb = 91;

// One held note (A4 unless told) on channel 0 with `program`, after `setup`'s events.
std::vector<uint8_t> HeldNote(int program, uint32_t ticks,
                              const std::function<void(Track&)>& setup = {}, int key = 69) {
    Track t;
    t.Program(0, 0, program).Control(0, 0, kReverb, 0);
    if (setup) setup(t);
    t.Note(0, ticks, 0, key, 100);
    return midibuild::File(0, 480, {t}); // 480 ticks are half a second at the default tempo
}

TEST(Synth, A4IsInTuneAcrossFamiliesAndRates) {
    // Piano (FM), church organ (additive), nylon guitar (plucked string), violin, trumpet and
    // sawtooth lead (filtered oscillators), flute (FM with breath).
    const struct {
        int Program, Rate;
    } cases[] = {{0, 44100},  {19, 44100}, {24, 44100}, {40, 44100}, {56, 44100},
                 {73, 44100}, {81, 44100}, {24, 48000}, {40, 48000}};
    for (const auto& c : cases) {
        // In the middle: the chorus's swinging copies are in opposite phase on the two sides.
        const auto audio = Render(HeldNote(c.Program, 1600), c.Rate);
        const double hz = StrongestFrequency(Middle(audio, 0.4, 1.4, c.Rate), 420, 460, c.Rate);
        EXPECT_NEAR(Cents(hz, 440), 0, 5)
            << "program " << c.Program << " at " << c.Rate << " Hz: " << hz;
    }
}

// Frame of each onset, found from 20 ms before where it is due.
std::vector<double> OnsetMillis(const std::vector<float>& audio,
                                const std::vector<double>& dueMillis) {
    const float threshold = 0.05f * Peak(audio);
    std::vector<double> found;
    for (double due : dueMillis) {
        const long frame =
            FirstAbove(audio, size_t(std::max(0.0, due - 20) * kRate / 1000), threshold);
        found.push_back(double(frame) * 1000 / kRate);
    }
    return found;
}

TEST(Synth, NotesStartAtTheTempoMapsTimes) {
    // Wood blocks, each dying away before the next: two melodic tracks and the drum channel,
    // tempo changes in the conductor track and in a melodic one.
    Track conductor, melody, answer, drums;
    conductor.Tempo(0, 600000).Tempo(480, 300000);
    answer.Tempo(1440, 900000);
    melody.Program(0, 0, 115).Control(0, 0, kReverb, 0);
    answer.Program(0, 1, 115).Control(0, 1, kReverb, 0);
    drums.Control(0, 9, kReverb, 0);
    for (uint32_t tick : {0, 480, 960})
        melody.Note(tick, 60, 0, 84);
    for (uint32_t tick : {1200, 1440})
        answer.Note(tick, 60, 1, 79);
    drums.Note(1920, 60, 9, 76);
    // 0.6 s a beat, 0.3 s from beat 1, 0.9 s from beat 3.
    const std::vector<double> due{0, 600, 900, 1050, 1200, 2100};
    const auto found =
        OnsetMillis(Render(midibuild::File(1, 480, {conductor, melody, answer, drums})), due);
    for (size_t i = 0; i < due.size(); ++i)
        EXPECT_NEAR(found[i], due[i], 1.0) << "onset " << i;

    // SMPTE division, 30 frames of 80 ticks: 2400 ticks a second, tempo ignored.
    Track smpte;
    smpte.Tempo(0, 100000).Program(0, 0, 115).Control(0, 0, kReverb, 0);
    for (uint32_t tick : {0, 720, 1680, 2500})
        smpte.Note(tick, 60, 0, 84);
    const std::vector<double> smpteDue{0, 300, 700, 2500.0 / 2.4};
    const auto smpteFound = OnsetMillis(Render(midibuild::File(0, 0xE250, {smpte})), smpteDue);
    for (size_t i = 0; i < smpteDue.size(); ++i)
        EXPECT_NEAR(smpteFound[i], smpteDue[i], 1.0) << "SMPTE onset " << i;
}

// A small band: piano chords, plucked bass, strings, drums with their noise.
std::vector<uint8_t> Band() {
    Track t;
    t.Program(0, 0, 0).Program(0, 1, 33).Program(0, 2, 48);
    for (uint32_t beat = 0; beat < 8; ++beat) {
        const uint32_t at = beat * 240;
        t.Note(at, 200, 0, 60 + int(beat % 4) * 2).Note(at, 200, 0, 64 + int(beat % 4) * 2);
        t.Note(at, 220, 1, 36 + int(beat % 2) * 7);
        t.Note(at, 60, 9, beat % 2 ? 38 : 36).Note(at, 60, 9, 42).Note(at + 120, 60, 9, 46);
    }
    t.Note(0, 1900, 2, 72).Note(960, 960, 2, 76).Note(1900, 10, 9, 49);
    return midibuild::File(0, 480, {t});
}

// Whatever blocks the device or an offline rendering pulls.
TEST(Synth, TheSameFileGivesTheSameSamples) {
    const std::vector<uint8_t> midi = Band();
    const auto first = Render(midi);
    EXPECT_GT(Rms(first), 0.01);
    EXPECT_EQ(EncodeWav16(first, kRate), EncodeWav16(Render(midi), kRate));
    for (const size_t block : {size_t(1), size_t(441), size_t(1024)}) {
        const auto tune = OpenMidiTune(midi, kRate);
        EXPECT_EQ(RenderAll(*tune, block), first) << block;
    }
}

// What one controller scenario renders, and what is checked in it.
struct ControllerCase {
    const char* Name;
    int Program;
    uint32_t Ticks; // the note's length
    std::function<void(Track&)> Events;
    std::function<void(const std::vector<float>&)> Check;
};

// Sets registered parameter `number` of channel 0 to `value` through data entry.
Track& Registered(Track& t, int number, int value) {
    return t.Control(0, 0, 101, 0).Control(0, 0, 100, number).Control(0, 0, 6, value);
}

double RmsDb(const std::vector<float>& audio, int channel, double from, double to) {
    return Db(Rms(Channel(audio, channel, from, to)) + 1e-12);
}

TEST(Synth, ControllersShapeTheSound) {
    // The tango accordion: held as long as the key, with no chorus or reverb of its own.
    constexpr int kDry = 23;
    const double plain = RmsDb(Render(HeldNote(kDry, 1000)), 0, 0.3, 0.9);
    const auto pitch = [](const std::vector<float>& a, double low, double high) {
        return StrongestFrequency(Channel(a, 0, 0.4, 0.9), low, high);
    };
    const ControllerCase cases[] = {
        {"volume from 100 to 64: amplitude by the square", kDry, 1000,
         [](Track& t) { t.Control(0, 0, 7, 64); },
         [&](const auto& a) {
             EXPECT_NEAR(RmsDb(a, 0, 0.3, 0.9) - plain, Db(64.0 * 64 / (100.0 * 100)), 0.5);
         }},
        {"expression at half", kDry, 1000, [](Track& t) { t.Control(0, 0, 11, 64); },
         [&](const auto& a) {
             EXPECT_NEAR(RmsDb(a, 0, 0.3, 0.9) - plain, Db(64.0 * 64 / (127.0 * 127)), 0.5);
         }},
        {"panned hard left", kDry, 1000, [](Track& t) { t.Control(0, 0, 10, 0); },
         [](const auto& a) { EXPECT_LT(RmsDb(a, 1, 0.3, 0.9), RmsDb(a, 0, 0.3, 0.9) - 60); }},
        {"bend range of an octave, bent fully up", 19, 1000,
         [](Track& t) {
             Registered(t, 0, 12).At(0, {0xE0, 0x7F, 0x7F});
         },
         [&](const auto& a) {
             EXPECT_NEAR(Cents(pitch(a, 860, 900), 440), 1200.0 * 8191 / 8192, 5);
         }},
        {"data entry for another parameter leaves the range alone", 19, 1000,
         [](Track& t) {
             Registered(t, 1, 12).At(0, {0xE0, 0, 0x60});
         },
         [&](const auto& a) { EXPECT_NEAR(Cents(pitch(a, 450, 480), 440), 100, 5); }},
        {"reset all controllers takes the bend back", 19, 1000,
         [](Track& t) {
             t.At(0, {0xE0, 0x7F, 0x7F}).Control(10, 0, 121, 0);
         },
         [&](const auto& a) { EXPECT_NEAR(Cents(pitch(a, 420, 460), 440), 0, 5); }},
        {"the pedal holds a released note until it is lifted", kDry, 480,
         [](Track& t) { t.Control(0, 0, 64, 127).Control(960, 0, 64, 0); },
         [&](const auto& a) {
             EXPECT_NEAR(RmsDb(a, 0, 0.7, 0.9), plain, 1.0); // let go at 0.5 s, held by the pedal
             EXPECT_LT(RmsDb(a, 0, 1.3, 1.5), plain - 60);   // gone once the pedal is up at 1 s
         }},
        {"all notes off lets the pad's note release slowly", 89, 960,
         [](Track& t) { t.Control(480, 0, 123, 0); },
         [&](const auto& a) { EXPECT_GT(RmsDb(a, 0, 0.6, 0.65), RmsDb(a, 0, 0.42, 0.48) - 20); }},
        {"all sound off silences the pad at once", 89, 960,
         [](Track& t) { t.Control(480, 0, 120, 0); },
         [&](const auto& a) { EXPECT_LT(RmsDb(a, 0, 0.6, 0.65), RmsDb(a, 0, 0.42, 0.48) - 60); }},
    };
    for (const ControllerCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Check(Render(HeldNote(c.Program, c.Ticks, c.Events)));
    }
}

TEST(Synth, EveryProgramAndDrumHasASoundOfItsOwn) {
    std::set<std::vector<uint8_t>> sounds;
    for (int program = 0; program < 128; ++program) {
        const auto audio = Render(HeldNote(program, 300, {}, 60));
        EXPECT_GT(Rms(audio), 1e-4) << "program " << program;
        sounds.insert(EncodeWav16(audio, kRate));
    }
    EXPECT_EQ(sounds.size(), 128u);
    for (int key = 34; key <= 82; ++key) {
        Track t;
        t.Note(0, 240, 9, key);
        const auto audio = Render(midibuild::File(0, 480, {t}));
        if (key == 34 || key == 82)
            EXPECT_EQ(Peak(audio), 0.0f) << "key " << key << " is not in the drum map";
        else
            EXPECT_GT(Rms(audio), 1e-4) << "drum " << key;
        sounds.insert(EncodeWav16(audio, kRate));
    }
    EXPECT_EQ(sounds.size(), 128u + 47 + 1);
}

TEST(Synth, FortyEightVoicesTheOldestStolenAndNoPeakAboveMinusOneDb) {
    GmSynth synth(kRate);
    std::vector<float> out(2 * kRate);
    for (int channel = 0; channel < 2; ++channel) {
        synth.Send(uint8_t(0xC0 | channel), 16, 0);
        synth.Send(uint8_t(0xB0 | channel), 7, 127);
    }
    for (int key = 30; key < 70; ++key)
        synth.Send(uint8_t(0x90 | (key % 2)), uint8_t(key), 127);
    synth.Render(out.data(), 441);
    EXPECT_EQ(synth.SoundingVoices(), 40);
    for (int key = 70; key < 90; ++key)
        synth.Send(uint8_t(0x90 | (key % 2)), uint8_t(key), 127);
    synth.Render(out.data(), size_t(kRate));
    EXPECT_EQ(synth.SoundingVoices(), GmSynth::kPolyphony);
    EXPECT_LE(Peak(out), 0.891f);
    EXPECT_GT(Peak(out), 0.5f);
    // Letting go of the twenty newest leaves the 28 of the first forty that were not stolen.
    for (int key = 70; key < 90; ++key)
        synth.Send(uint8_t(0x80 | (key % 2)), uint8_t(key), 0);
    synth.Render(out.data(), size_t(kRate));
    EXPECT_EQ(synth.SoundingVoices(), 28);
}

TEST(Synth, ATuneEndsWhenItsLastSoundHasDiedAway) {
    // A pad whose note is never let go: the end of the song lets it go.
    Track t;
    t.Program(0, 0, 89).At(0, {0x90, 60, 100}).At(480, {0xB0, 7, 100});
    const auto tune = OpenMidiTune(midibuild::File(0, 480, {t}), kRate);
    std::vector<float> block(2 * 4096);
    size_t frames = 0, got = 0;
    while ((got = tune->Render(block.data(), 4096)) == 4096)
        frames += got;
    frames += got;
    EXPECT_GT(frames, size_t(0.5 * kRate + 1.0 * kRate)); // the song, then the pad's release
    EXPECT_LT(frames, size_t(0.5 * kRate + 6.0 * kRate));
    EXPECT_EQ(tune->Render(block.data(), 4096), 0u);
}

} // namespace
