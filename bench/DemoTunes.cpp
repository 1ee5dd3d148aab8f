#include "DemoTunes.h"

#include "MidiBuilder.h"

namespace demo {
namespace {

constexpr uint16_t kTicks = 480; // a quarter note
constexpr int kDrums = 9;
using midibuild::Track;

} // namespace

std::vector<uint8_t> Scale(int program) {
    Track t;
    t.Program(0, 0, program);
    const int keys[] = {60, 62, 64, 65, 67, 69, 71, 72};
    for (int i = 0; i < 8; ++i)
        t.Note(uint32_t(i) * kTicks, kTicks * 9 / 10, 0, keys[i], 100);
    return midibuild::File(0, kTicks, {t});
}

std::vector<uint8_t> DrumPattern() {
    Track t;
    for (uint32_t bar = 0; bar < 2; ++bar) {
        const uint32_t at = bar * 4 * kTicks;
        for (uint32_t e = 0; e < 8; ++e) {
            const uint32_t tick = at + e * kTicks / 2;
            if (bar == 0 || e < 6) t.Note(tick, 60, kDrums, e == 7 ? 46 : 42, e % 2 ? 70 : 95);
            if (e == 0 || e == 3 || e == 5) t.Note(tick, 60, kDrums, 36, 110);
            if (e == 2 || e == 6) t.Note(tick, 60, kDrums, 38, 105);
        }
    }
    const int fill[] = {50, 48, 45, 41};
    for (uint32_t i = 0; i < 4; ++i)
        t.Note(4 * kTicks + 3 * kTicks + i * kTicks / 4, 60, kDrums, fill[i], 100);
    t.Note(8 * kTicks, 60, kDrums, 49, 110).Note(8 * kTicks, 60, kDrums, 36, 110);
    return midibuild::File(0, kTicks, {t});
}

std::vector<uint8_t> Band() {
    Track conductor, drums, bass, piano, strings, melody, brass;
    conductor.Tempo(0, 545454); // 110 beats a minute
    piano.Program(0, 0, 0), bass.Program(0, 1, 33), strings.Program(0, 2, 48),
        melody.Program(0, 3, 73);
    brass.Program(0, 4, 61);
    strings.Control(0, 2, 7, 80).Control(0, 1, 10, 50).Control(0, 0, 10, 80);
    const int roots[] = {48, 45, 41, 43}; // C, A minor, F, G
    const int thirds[] = {4, 3, 4, 4};
    for (uint32_t bar = 0; bar < 16; ++bar) {
        const uint32_t at = bar * 4 * kTicks;
        const int root = roots[bar % 4];
        for (uint32_t beat = 0; beat < 4; ++beat) {
            const uint32_t tick = at + beat * kTicks;
            drums.Note(tick, 60, kDrums, beat % 2 ? 38 : 36, 100);
            drums.Note(tick, 60, kDrums, 42, 80).Note(tick + kTicks / 2, 60, kDrums, 42, 60);
            bass.Note(tick, kTicks * 3 / 4, 1, root - 12 + (beat == 2 ? 7 : 0), 95);
            for (int n : {12, 12 + thirds[bar % 4], 19})
                piano.Note(tick, kTicks / 2, 0, root + n, beat ? 65 : 80);
        }
        for (int n : {12, 12 + thirds[bar % 4], 19, 24})
            strings.Note(at, 4 * kTicks - 20, 2, root + n, 70);
        if (bar % 4 == 3) drums.Note(at, 60, kDrums, 49, 100);
        const int tune[] = {7, 4, 5, 7, 9, 7, 4, 2};
        for (uint32_t i = 0; i < 4 && bar >= 4; ++i)
            melody.Note(at + i * kTicks, kTicks - 40, 3, root + 24 + tune[(bar * 4 + i) % 8], 90);
        if (bar % 2 == 1)
            brass.Note(at + 2 * kTicks, kTicks, 4, root + 19, 85)
                .Note(at + 3 * kTicks, kTicks, 4, root + 24, 90);
    }
    return midibuild::File(1, kTicks, {conductor, drums, bass, piano, strings, melody, brass});
}

std::vector<uint8_t> ProgramTour() {
    Track t;
    for (uint32_t p = 0; p < 128; ++p) {
        const uint32_t at = p * 2 * kTicks; // 1 s at 120 beats a minute
        t.Program(at, 0, int(p)).Note(at, kTicks * 6 / 5, 0, 60, 100);
    }
    for (uint32_t key = 35; key <= 81; ++key)
        t.Note((128 + key - 35) * 2 * kTicks, 60, kDrums, int(key), 100);
    return midibuild::File(0, kTicks, {t});
}

std::vector<Tune> All() {
    return {{"scale_piano", Scale(0)},  {"scale_strings", Scale(48)},
            {"scale_flute", Scale(73)}, {"drums", DrumPattern()},
            {"band", Band()},           {"tour", ProgramTour()}};
}

} // namespace demo
