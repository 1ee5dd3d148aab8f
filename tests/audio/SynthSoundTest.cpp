// What makes the synthesizer's notes instruments in a room: struck and plucked strings lose
// their high partials first and brighten when struck harder, controllers 91 and 93 bring in
// the reverb and the chorus, and a tune ends with the room's tail, not with silence.
#include "AudioTestSupport.h"
#include "MidiBuilder.h"

#include <gtest/gtest.h>

using namespace audiotest;
using midibuild::Track;

namespace {

constexpr int kPiano = 0, kNylonGuitar = 24, kBanjo = 105, kChurchOrgan = 19;
constexpr double kC3 = 130.81;

// One note of `program` at C3, the sends as given (a negative one is left unset).
std::vector<float> Note(int program, uint32_t ticks, int velocity, int reverb = 0, int chorus = 0) {
    Track t;
    t.Program(0, 0, program);
    if (reverb >= 0) t.Control(0, 0, 91, reverb);
    if (chorus >= 0) t.Control(0, 0, 93, chorus);
    t.Note(0, ticks, 0, 48, velocity);
    return Render(midibuild::File(0, 480, {t})); // 480 ticks are half a second
}

// The level in dB of the strongest component within 3 % of `hz` (a stiff string's partials
// sound a little sharp).
double PartialDb(const std::vector<float>& audio, double hz, double from, double to) {
    const auto middle = Middle(audio, from, to);
    return Db(MagnitudeAt(middle, StrongestFrequency(middle, 0.97 * hz, 1.03 * hz, kRate), kRate));
}

TEST(SynthSound, StruckAndPluckedStringsLoseHighPartialsFirstAndBrightenWithVelocity) {
    for (const int program : {kPiano, kNylonGuitar}) {
        SCOPED_TRACE(program);
        const auto loud = Note(program, 2400, 100);
        const double firstFall = PartialDb(loud, kC3, 0.05, 0.3) - PartialDb(loud, kC3, 1.0, 1.25);
        const double eighthFall =
            PartialDb(loud, 8 * kC3, 0.05, 0.3) - PartialDb(loud, 8 * kC3, 1.0, 1.25);
        EXPECT_GT(eighthFall, firstFall + 10) << firstFall << " against " << eighthFall;

        // The sixth partial against the first, struck softly and hard.
        const auto brightness = [&](int velocity) {
            const auto a = Note(program, 480, velocity);
            return PartialDb(a, 6 * kC3, 0.05, 0.3) - PartialDb(a, kC3, 0.05, 0.3);
        };
        EXPECT_GT(brightness(127), brightness(40) + 6);
    }
}

double TailDb(const std::vector<float>& audio) {
    return Db(Rms(Middle(audio, 0.7, 1.2)) + 1e-12);
}

double LeftRightCorrelation(const std::vector<float>& audio, double from, double to) {
    const auto l = Channel(audio, 0, from, to), r = Channel(audio, 1, from, to);
    double lr = 0, ll = 0, rr = 0;
    for (size_t i = 0; i < l.size(); ++i)
        lr += double(l[i]) * r[i], ll += double(l[i]) * l[i], rr += double(r[i]) * r[i];
    return lr / std::sqrt(ll * rr);
}

TEST(SynthSound, ControllersNinetyOneAndNinetyThreeBringInTheRoom) {
    // A banjo's short note has died away by 0.7 s: what sounds then is the room.
    const double dry = TailDb(Note(kBanjo, 60, 100, 0));
    const double byDefault = TailDb(Note(kBanjo, 60, 100, -1));
    const double full = TailDb(Note(kBanjo, 60, 100, 127));
    EXPECT_LT(dry, -90);
    EXPECT_GT(byDefault, dry + 30);
    EXPECT_GT(full, byDefault + 6);
    EXPECT_LT(full, -20); // a room, not an echo as loud as the note

    // The chorus turns a held organ note wide.
    EXPECT_GT(LeftRightCorrelation(Note(kChurchOrgan, 1400, 100, 0, 0), 0.5, 1.4), 0.99);
    EXPECT_LT(LeftRightCorrelation(Note(kChurchOrgan, 1400, 100, 0, 127), 0.5, 1.4), 0.5);
}

TEST(SynthSound, ATuneEndsWithItsLastAudibleSampleAfterTheRoomsTail) {
    const auto audio = Note(kBanjo, 60, 100, 127);
    const double seconds = double(audio.size() / 2) / kRate;
    EXPECT_GT(seconds, 0.8); // the note and its release were over by 0.4 s
    EXPECT_LT(seconds, 3.0);
    // Nothing a 16-bit file would write as silence is left at the end.
    const float halfStep = 0.5f / 32767;
    EXPECT_GE(Peak(std::span(audio).last(2)), halfStep);
}

} // namespace
