// The 128 General MIDI programs, sixteen families of eight. Each family has its own way of
// making sound and its own envelopes; the eight members vary it.
#include "GmPatch.h"
#include "GmSpectra.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

namespace synth {
namespace {

FmOp Op(float ratio, float level, Adsr env = {}, float detune = 0) {
    return {ratio, level, detune, env};
}

Patch Fm(FmAlgo algo, Adsr amp, FmOp op0, FmOp op1 = {}, FmOp op2 = {}, FmOp op3 = {}) {
    Patch p;
    p.Kind = Tone::Fm;
    p.Algo = algo;
    p.Amp = amp;
    p.Ops[0] = op0, p.Ops[1] = op1, p.Ops[2] = op2, p.Ops[3] = op3;
    return p;
}

Patch Waves(Wave osc1, Wave osc2, float osc2Level, float osc2Cents, Filter filter, float cutoffHz,
            float q, Adsr amp) {
    Patch p;
    p.Kind = Tone::Waves;
    p.Osc1 = osc1, p.Osc2 = osc2, p.Osc2Level = osc2Level, p.Osc2Cents = osc2Cents;
    p.FilterKind = filter, p.CutoffHz = cutoffHz, p.Q = q;
    p.Amp = amp;
    return p;
}

Patch Pluck(float seconds, float bright, float soft, float releaseSeconds = 0.15f) {
    Patch p;
    p.Kind = Tone::Pluck;
    p.PluckSeconds = seconds, p.PluckBright = bright, p.PluckSoft = soft;
    p.Amp = {0.001f, 0, 1, 0, releaseSeconds};
    p.KeyDecay = 0.3f;
    return p;
}

// An additive instrument on the spectrum of `program` (GmSpectra.cpp).
Patch Additive(int program, Adsr amp) {
    Patch p;
    p.Kind = Tone::Partials;
    p.Partials = MeasuredSpectrum(program);
    p.Amp = amp;
    return p;
}

// A struck or plucked string's partials: stretched by the string's stiffness, the higher
// ones falling faster, all of them brighter the harder the strike.
void Strung(Patch& p, float inharmonicity, float fadeSeconds, float velocityTiltDb) {
    p.Partials.Inharmonicity = inharmonicity;
    p.Partials.FadeSeconds = fadeSeconds;
    p.Partials.VelocityTiltDb = velocityTiltDb;
}

// A low-pass after a string: the body and pickup of a dark-sounding instrument.
void Darken(Patch& p, float hzAtMiddleC) {
    p.FilterKind = Filter::LowPass, p.CutoffHz = hzAtMiddleC, p.KeyTrack = 0.5f, p.Q = 0.6f;
}

constexpr float kMiddleCHz = 261.63f;

// Gain that gives band-passed white noise about the loudness of a full-scale sine (at 44.1 kHz;
// a band is a smaller share of a higher rate's spectrum, which only matters a little).
float BandNoiseGain(float hz, float q) {
    return std::sqrt(22050.0f * q / hz) * 1.2f;
}

// Breath noise band-passed around `multiple` times the pitch, sounding as long as the note;
// `level` is its loudness next to the tone's, at middle C.
void Breath(Patch& p, float level, float multiple, float q) {
    p.NoiseLevel = level * BandNoiseGain(kMiddleCHz * multiple, q);
    p.NoiseFilter = Filter::BandPass;
    p.NoiseHz = kMiddleCHz * multiple, p.NoiseQ = q, p.NoiseKeyTrack = 1;
    p.NoiseEnv = {0.03f, 0, 1, 0, 0.1f};
}

// The same around a fixed frequency: bow and air noise.
void Hiss(Patch& p, float level, float hz) {
    Breath(p, 1, 1, 0.7f);
    p.NoiseLevel = level * BandNoiseGain(hz, 0.7f);
    p.NoiseHz = hz, p.NoiseKeyTrack = 0;
}

// A short noise burst at the start: hammer, pick, chiff, key click.
void Strike(Patch& p, float level, float hz, float seconds, Filter kind = Filter::BandPass) {
    p.NoiseLevel = level;
    p.NoiseFilter = kind;
    p.NoiseHz = hz, p.NoiseQ = 0.8f, p.NoiseKeyTrack = 0.3f;
    p.NoiseEnv = {0.001f, seconds, 0, 0, seconds};
}

void Vibrato(Patch& p, float cents, float hz = 5.2f, float delay = 0.3f) {
    p.VibratoCents = cents, p.LfoHz = hz, p.LfoDelay = delay;
}

// Pianos: FM pairs whose modulation falls faster than the sound (bright attack, mellow tail),
// a hammer knock, and two decays: a fast one to a level that then fades for seconds.
Patch Piano(int i) {
    if (i <= 1) {
        // Grand pianos: stiff strings whose partials fall the faster the higher they are, a
        // prompt sound and a long aftersound, and the hammer's knock.
        Patch p = Additive(0, {0.002f, 1.5f, 0.25f, 12.0f, 0.6f});
        Strung(p, 0.0004f, 12.0f, i == 1 ? 5.0f : 4.0f);
        p.Partials.RolloffHz = 5000;
        p.KeyDecay = 0.9f;
        Strike(p, i == 1 ? 0.14f : 0.1f, 2500, 0.03f);
        return p;
    }
    Patch p =
        Fm(FmAlgo::TwoPairs, {0.001f, 1.2f, 0.3f, 9.0f, 0.5f}, Op(1, 1),
           Op(1, 2.6f, {0.001f, 1.6f, 0.3f, 6, 0}), Op(1, 0.5f, {0.001f, 0.9f, 0.3f, 4, 0}, 4),
           Op(1, 2.0f, {0.001f, 0.5f, 0.15f, 3, 0}));
    p.Feedback = 1.2f;
    p.KeyDecay = 0.55f, p.VelocityBright = 0.7f;
    Strike(p, 0.12f, 2500, 0.04f);
    switch (i) {
    case 2: // electric grand
        p.Ops[1] = Op(1, 2.2f, {0.001f, 1.0f, 0.35f, 5, 0});
        p.Ops[3] = Op(3, 1.2f, {0.001f, 0.3f, 0.1f, 2, 0});
        break;
    case 3: // honky-tonk: the second string of each note out of tune
        p.Ops[2] = Op(1, 0.8f, {0.001f, 1.2f, 0.3f, 8, 0}, 14);
        p.Ops[3] = Op(1, 1.5f, {0.001f, 1.0f, 0.2f, 4, 0});
        break;
    case 4: // tine electric piano: soft body, a bell-like tine at fourteen times the pitch
        p.Ops[1] = Op(1, 0.9f, {0.001f, 2.5f, 0.4f, 8, 0});
        p.Ops[2] = Op(1, 0.5f, {0.001f, 0.6f, 0.0f, 0, 0});
        p.Ops[3] = Op(14, 1.4f, {0.001f, 0.2f, 0.0f, 0, 0});
        p.Amp = {0.001f, 2.0f, 0.45f, 8, 0.3f};
        p.Tremolo = 0.12f, p.LfoHz = 4.5f, p.LfoDelay = 0;
        p.NoiseLevel = 0;
        break;
    case 5: // FM electric piano
        p.Ops[1] = Op(1, 1.6f, {0.001f, 1.8f, 0.3f, 6, 0});
        p.Ops[2] = Op(1, 0.6f, {0.001f, 0.5f, 0.05f, 3, 0}, 5);
        p.Ops[3] = Op(9, 1.0f, {0.001f, 0.25f, 0.0f, 0, 0});
        p.Amp = {0.001f, 1.8f, 0.4f, 7, 0.3f};
        p.NoiseLevel = 0;
        break;
    case 6: // harpsichord: a bright plucked string with a short release (the damper)
        p = Pluck(3.5f, 0.7f, 0.05f, 0.08f);
        Strike(p, 0.05f, 3000, 0.015f);
        Darken(p, 2500);
        break;
    case 7: // clavinet: a narrow pulse through a resonant filter that closes fast
        p = Waves(Wave::Pulse, Wave::Saw, 0, 0, Filter::LowPass, 900, 2.2f,
                  {0.001f, 1.2f, 0.35f, 3, 0.06f});
        p.PulseWidth = 0.2f, p.EnvOctaves = 2.8f, p.FilterEnv = {0.001f, 0.25f, 0.1f, 0, 0.1f};
        p.KeyDecay = 0.3f;
        break;
    }
    return p;
}

// Chromatic percussion: struck bars and bells, their inharmonic partials as separate
// operators with their own decays, and no sustain.
Patch ChromaticPercussion(int i) {
    Patch p;
    switch (i) {
    case 0: // celesta
        p = Fm(FmAlgo::PairPlus, {0.001f, 1.8f, 0, 0, 0.4f}, Op(1, 1),
               Op(1, 0.7f, {0.001f, 0.3f, 0.2f, 0, 0}), Op(4, 0.25f, {0.001f, 0.35f, 0, 0, 0}),
               Op(10, 0.06f, {0.001f, 0.08f, 0, 0, 0}));
        break;
    case 1: // glockenspiel
        p = Fm(FmAlgo::PairPlus, {0.001f, 3.5f, 0, 0, 0.8f}, Op(1, 1),
               Op(3.5f, 0.6f, {0.001f, 0.2f, 0, 0, 0}), Op(2.71f, 0.45f, {0.001f, 1.6f, 0, 0, 0}),
               Op(5.15f, 0.3f, {0.001f, 0.6f, 0, 0, 0}));
        break;
    case 2: // music box
        p = Fm(FmAlgo::PairPlus, {0.001f, 2.2f, 0, 0, 0.6f}, Op(1, 1),
               Op(5.4f, 0.5f, {0.001f, 0.15f, 0, 0, 0}), Op(3.0f, 0.25f, {0.001f, 0.9f, 0, 0, 0}),
               Op(6.1f, 0.15f, {0.001f, 0.4f, 0, 0, 0}));
        break;
    case 3: // vibraphone: long ring, the motor's tremolo
        p = Additive(11, {0.001f, 3.7f, 0, 0, 0.6f});
        Strung(p, 0, 8.0f, 4.0f);
        p.Tremolo = 0.15f, p.LfoHz = 5.5f, p.LfoDelay = 0;
        break;
    case 4: // marimba: wooden bar, short, a soft mallet
        p = Fm(FmAlgo::PairPlus, {0.001f, 1.0f, 0, 0, 0.3f}, Op(1, 1),
               Op(1, 0.5f, {0.001f, 0.1f, 0, 0, 0}), Op(4, 0.35f, {0.001f, 0.15f, 0, 0, 0}),
               Op(10, 0.1f, {0.001f, 0.04f, 0, 0, 0}));
        Strike(p, 0.08f, 800, 0.02f);
        break;
    case 5: // xylophone: harder and shorter than the marimba, its partial a twelfth up
        p = Fm(FmAlgo::PairPlus, {0.001f, 0.7f, 0, 0, 0.2f}, Op(1, 1),
               Op(1, 0.8f, {0.001f, 0.06f, 0, 0, 0}), Op(3, 0.45f, {0.001f, 0.3f, 0, 0, 0}),
               Op(6, 0.15f, {0.001f, 0.1f, 0, 0, 0}));
        Strike(p, 0.12f, 2500, 0.015f);
        break;
    case 6: // tubular bells: strong inharmonic modulation, very long ring
        p = Fm(FmAlgo::TwoPairs, {0.001f, 7.0f, 0, 0, 1.2f}, Op(1, 1),
               Op(3.5f, 1.8f, {0.001f, 4.0f, 0.2f, 0, 0}), Op(2.0f, 0.5f, {0.001f, 3.0f, 0, 0, 0}),
               Op(5.1f, 1.0f, {0.001f, 1.0f, 0, 0, 0}));
        break;
    case 7: // dulcimer: hammered pairs of strings
        p = Pluck(3.0f, 0.7f, 0.15f, 0.3f);
        Strike(p, 0.06f, 2500, 0.02f);
        Darken(p, 2500);
        break;
    }
    if (i != 7) p.KeyDecay = 0.4f, p.VelocityBright = 0.6f;
    return p;
}

// A tonewheel organ's registration: nine drawbars from 16' to 1', each pulled out 0 to 8 (each
// step 3 dB louder), as sine partials at their footages' multiples of the note (16' an octave
// below, 5 1/3' a fifth above it, 8' the note, then 4', 2 2/3', 2', 1 3/5', 1 1/3', 1').
Patch Drawbars(const char (&registration)[10]) {
    // Partial n sounds at n + 1 halves of the note.
    constexpr int kPartialOf[9] = {0, 2, 1, 3, 5, 7, 9, 11, 15};
    Patch p;
    p.Kind = Tone::Partials;
    p.Partials.Base = 0.5f;
    for (auto& key : p.Partials.LevelDb)
        std::fill(std::begin(key), std::end(key), Spectrum::kOff);
    for (int bar = 0; bar < 9; ++bar) {
        const int pulled = registration[bar] - '0';
        if (pulled == 0) continue;
        for (auto& key : p.Partials.LevelDb)
            key[kPartialOf[bar]] = -3.0f * float(8 - pulled);
    }
    p.Amp = {0.005f, 0, 1, 0, 0.06f};
    return p;
}

// Organs: drawbars or sine partials, held as long as the key, a key click; the free-reed ones
// (accordion, harmonica) are pulse waves through a filter.
Patch Organ(int i) {
    const Adsr held{0.005f, 0, 1, 0, 0.06f};
    Patch p = Fm(FmAlgo::Additive, held, Op(1, 1), Op(0.5f, 0.5f), Op(2, 0.6f), Op(3, 0.45f));
    Strike(p, 0.1f, 3000, 0.008f, Filter::HighPass);
    p.VelocityBright = 0;
    switch (i) {
    case 0: // drawbar organ: 16', 8', 4' and 2', with a little chorus
        p = Drawbars("808604000");
        Strike(p, 0.1f, 3000, 0.008f, Filter::HighPass);
        Vibrato(p, 6, 6.5f, 0);
        break;
    case 1: // percussive: the third harmonic struck and fading
        p.Ops[3] = Op(3, 0.8f, {0.001f, 0.35f, 0, 0, 0});
        p.Ops[1] = Op(4, 0.3f);
        break;
    case 2: // rock organ: every bar out, overdriven through a fast-turning rotary speaker
        p = Drawbars("888888888");
        Strike(p, 0.1f, 3000, 0.008f, Filter::HighPass);
        p.Drive = 1.5f;
        Vibrato(p, 14, 6.8f, 0);
        p.Tremolo = 0.2f;
        break;
    case 3: // church organ: slow speech, its ranks and mixtures, a long release into the hall
        p = Additive(19, {0.3f, 0, 1, 0, 1.4f});
        p.NoiseLevel = 0.03f, p.NoiseEnv = {0.02f, 0.15f, 0, 0, 0.1f};
        break;
    case 4: // reed organ
        p = Waves(Wave::Pulse, Wave::Saw, 0.3f, 3, Filter::LowPass, 1800, 0.8f,
                  {0.04f, 0, 1, 0, 0.12f});
        p.PulseWidth = 0.3f;
        break;
    case 5: // accordion: two reeds a little apart (musette)
    case 7: // tango accordion: darker, further apart
        p = Waves(Wave::Saw, Wave::Pulse, 0.8f, i == 5 ? 12 : 18, Filter::LowPass,
                  i == 5 ? 2400 : 1600, 1.0f, {0.04f, 0, 1, 0, 0.08f});
        p.PulseWidth = 0.35f;
        break;
    case 6: // harmonica: a nasal reed, breath, vibrato
        p = Waves(Wave::Pulse, Wave::Saw, 0, 0, Filter::BandPass, 1200, 1.2f,
                  {0.04f, 0, 1, 0, 0.08f});
        p.PulseWidth = 0.15f, p.KeyTrack = 0.6f;
        Breath(p, 0.05f, 2, 1.5f);
        Vibrato(p, 18, 5.0f, 0.35f);
        break;
    }
    return p;
}

// Guitars: Karplus-Strong strings, from a soft nylon thumb to a hard steel pick; the
// electric ones overdriven through a soft clipper and a cabinet-like low-pass.
Patch Guitar(int i) {
    static constexpr struct {
        float Seconds, Bright, Soft;
    } kStrings[] = {{3.0f, 0.35f, 0.45f}, {4.5f, 0.75f, 0.15f}, {3.0f, 0.3f, 0.35f},
                    {5.0f, 0.6f, 0.2f},   {0.35f, 0.35f, 0.3f}, {8.0f, 0.6f, 0.15f},
                    {10.0f, 0.7f, 0.1f},  {2.5f, 0.5f, 0.5f}};
    Patch p = Pluck(kStrings[i].Seconds, kStrings[i].Bright, kStrings[i].Soft);
    switch (i) {
    case 0: // nylon: a soft thumb on a light string, the partials falling one after another
        p = Additive(24, {0.001f, 2.7f, 0, 0, 1.1f});
        Strung(p, 0.00005f, 5.0f, 6.0f);
        p.KeyDecay = 0.4f;
        Strike(p, 0.05f, 3000, 0.01f);
        break;
    case 1: // steel: the nylon string's partials, brighter and ringing longer
    case 2: // jazz: the neck pickup's dark tone
    case 3: // clean electric
        p = Additive(24, {0.001f, i == 1 ? 3.5f : 3.0f, 0, 0, 0.6f});
        Strung(p, 0.00005f, i == 2 ? 3.0f : 6.0f, 6.0f);
        p.Partials.RolloffHz = i == 2 ? 1200 : i == 1 ? 4000 : 2500;
        p.KeyDecay = 0.4f;
        Strike(p, 0.04f, i == 1 ? 3500 : 2000, 0.01f);
        break;
    case 4: // muted
        p.Amp.Release = 0.05f;
        Darken(p, 1000);
        break;
    case 5: // overdriven
    case 6: // distortion
        p.Drive = i == 5 ? 4.0f : 9.0f;
        p.FilterKind = Filter::LowPass, p.CutoffHz = 3200, p.KeyTrack = 0.2f, p.Q = 1.0f;
        break;
    case 7: // harmonics: the string touched at its middle, the octave ringing like a bell
        p = Fm(FmAlgo::Stack2, {0.001f, 2.5f, 0, 0, 0.3f}, Op(2, 1),
               Op(2, 0.3f, {0.001f, 0.2f, 0, 0, 0}));
        p.KeyDecay = 0.3f;
        break;
    }
    return p;
}

// Basses: deeper strings, fretless and slapped variants, and the filtered synthesizer basses.
Patch Bass(int i) {
    Patch p;
    switch (i) {
    case 0: // acoustic (upright): the finger bass's partials, darker, a thump
        p = Additive(33, {0.002f, 0, 1, 8.0f, 0.15f});
        Strung(p, 0.00005f, 5.0f, 4.0f);
        p.Partials.RolloffHz = 800;
        Strike(p, 0.05f, 400, 0.03f);
        break;
    case 1: // finger
        p = Additive(33, {0.002f, 0, 1, 12.0f, 0.15f});
        Strung(p, 0.00005f, 8.0f, 4.0f);
        Strike(p, 0.04f, 800, 0.015f);
        break;
    case 2: // pick: the finger bass's partials, a click
        p = Additive(33, {0.002f, 0, 1, 10.0f, 0.12f});
        Strung(p, 0.00005f, 6.0f, 5.0f);
        p.Partials.RolloffHz = 2500;
        Strike(p, 0.05f, 1500, 0.01f);
        break;
    case 3: // fretless: a singing FM tone that slides into its pitch
        p = Fm(FmAlgo::Stack2, {0.02f, 2.0f, 0.5f, 6, 0.12f}, Op(1, 1),
               Op(1, 1.3f, {0.02f, 0.8f, 0.5f, 0, 0}));
        p.PitchDrop = -0.4f, p.PitchSeconds = 0.05f;
        Vibrato(p, 6, 4.5f, 0.4f);
        break;
    case 4: // slap: the finger bass struck with the thumb, the string snapping on the frets
    case 5:
        p = Additive(33, {0.001f, 1.5f, 0.3f, 6.0f, 0.1f});
        Strung(p, 0.0001f, 3.0f, 6.0f);
        p.Partials.RolloffHz = i == 4 ? 2000 : 3000;
        Strike(p, 0.08f, 1200, 0.015f);
        break;
    case 6: // synth bass: detuned saws, a resonant filter snapping shut
        p = Waves(Wave::Saw, Wave::Saw, 0.8f, -8, Filter::LowPass, 300, 3.0f,
                  {0.002f, 1.2f, 0.6f, 0, 0.07f});
        p.EnvOctaves = 3.5f, p.FilterEnv = {0.001f, 0.3f, 0, 0, 0.1f}, p.KeyTrack = 0.6f;
        break;
    case 7: // synth bass 2: pulse with a sine an octave down
        p = Waves(Wave::Pulse, Wave::Sine, 0.9f, 0, Filter::LowPass, 350, 2.0f,
                  {0.002f, 1.5f, 0.5f, 0, 0.07f});
        p.Osc2Semitones = -12, p.PulseWidth = 0.3f;
        p.EnvOctaves = 2.5f, p.FilterEnv = {0.001f, 0.5f, 0.1f, 0, 0.1f}, p.KeyTrack = 0.6f;
        break;
    }
    if (p.Kind == Tone::Pluck) p.KeyDecay = 0.2f;
    return p;
}

// Bowed strings: sawtooth through a low-pass that opens as the bow bites, slow attack,
// delayed vibrato, a little bow noise. Pizzicato and harp are plucked; timpani is a drum.
Patch Strings(int i) {
    static constexpr struct {
        float Cutoff, Attack, Vibrato;
    } kBowed[] = {{2400, 0.4f, 18}, {2000, 0.4f, 16}, {1500, 0.45f, 14}, {1000, 0.5f, 10}};
    Patch p;
    switch (i) {
    case 0:   // violin
    case 1:   // viola
    case 2:   // cello
    case 3:   // contrabass
    case 4: { // tremolo strings
        const auto& b = kBowed[i == 4 ? 0 : i];
        p = Waves(Wave::Saw, Wave::Saw, 0.25f, 5, Filter::LowPass, b.Cutoff, 0.9f,
                  {b.Attack, 0, 1, 0, 0.4f});
        p.KeyTrack = 0.5f, p.EnvOctaves = 0.8f, p.FilterEnv = {b.Attack * 1.5f, 0, 1, 0, 0.3f};
        Hiss(p, 0.02f, 3000);
        Vibrato(p, b.Vibrato, 5.5f, 0.25f);
        if (i == 4) p.Tremolo = 0.75f, p.LfoHz = 11, p.LfoDelay = 0, p.VibratoCents = 0;
        if (i == 0) { // violin: its own spectrum
            p = Additive(40, {b.Attack, 0, 1, 0, 0.4f});
            Hiss(p, 0.02f, 3000);
            Vibrato(p, b.Vibrato, 5.5f, 0.25f);
        }
        break;
    }
    case 5: // pizzicato
        p = Pluck(0.5f, 0.4f, 0.4f, 0.1f);
        Darken(p, 2200);
        break;
    case 6: // harp: soft fingers, long ring
        p = Pluck(4.0f, 0.5f, 0.5f, 0.8f);
        Darken(p, 3000);
        break;
    case 7: // timpani: a membrane's inharmonic modes, a thud, the pitch settling
        p = Fm(FmAlgo::Additive, {0.001f, 2.5f, 0, 0, 1.0f}, Op(1, 1),
               Op(1.5f, 0.45f, {0.001f, 1.2f, 0, 0, 0}), Op(1.99f, 0.3f, {0.001f, 0.8f, 0, 0, 0}),
               Op(2.44f, 0.2f, {0.001f, 0.5f, 0, 0, 0}));
        p.PitchDrop = 0.6f, p.PitchSeconds = 0.12f;
        Strike(p, 0.3f, 250, 0.08f, Filter::LowPass);
        break;
    }
    return p;
}

// Ensembles: wider detuning than a solo string (many players), choirs through two formant
// filters, and the orchestra hit.
Patch Ensemble(int i) {
    Patch p;
    switch (i) {
    case 0: // string ensemble: its own spectrum, many players swelling in together
        p = Additive(48, {0.35f, 0, 1, 0, 0.8f});
        Vibrato(p, 8, 5.0f, 0.2f);
        Hiss(p, 0.02f, 3000);
        break;
    case 1: // slow strings
        p = Waves(Wave::Saw, Wave::Saw, 0.9f, 11, Filter::LowPass, i == 0 ? 1700 : 1300, 0.8f,
                  {i == 0 ? 0.12f : 0.35f, 0, 1, 0, i == 0 ? 0.8f : 1.0f});
        p.KeyTrack = 0.5f;
        Vibrato(p, 8, 5.0f, 0.2f);
        break;
    case 2: // synth strings
    case 3:
        p = Waves(Wave::Saw, i == 2 ? Wave::Saw : Wave::Pulse, 1.0f, 16, Filter::LowPass,
                  i == 2 ? 3000 : 2200, 1.4f,
                  {i == 2 ? 0.08f : 0.25f, 0, 1, 0, i == 2 ? 0.5f : 0.8f});
        p.PulseWidth = 0.3f, p.KeyTrack = 0.4f;
        p.EnvOctaves = 1, p.FilterEnv = {0.3f, 1.0f, 0.4f, 0, 0.5f};
        break;
    case 4: // choir "aah"
    case 5: // voices "ooh"
    case 6: // synth voice
        p = Waves(i == 6 ? Wave::Pulse : Wave::Saw, Wave::Saw, 0.8f, 9, Filter::Vowel,
                  i == 5 ? 380 : 760, 2.5f, {i == 6 ? 0.06f : 0.15f, 0, 1, 0, 0.4f});
        p.KeyTrack = 0, p.Formant2Hz = i == 5 ? 900 : i == 4 ? 1150 : 1600, p.PulseWidth = 0.4f;
        Vibrato(p, 12, 5.2f, 0.25f);
        Hiss(p, 0.03f, 2500);
        if (i == 6) p.Tremolo = 0.1f;
        break;
    case 7: // orchestra hit: a chord of octave and fifth, cut short
        p = Waves(Wave::Saw, Wave::Saw, 0.8f, 0, Filter::LowPass, 1500, 1.2f,
                  {0.002f, 0.6f, 0, 0, 0.3f});
        p.Osc2Semitones = 7, p.EnvOctaves = 2, p.FilterEnv = {0.001f, 0.3f, 0, 0, 0.2f};
        Strike(p, 0.3f, 1500, 0.1f);
        break;
    }
    return p;
}

// Brass: a sawtooth whose filter opens with the breath (the "blat") and with velocity;
// the muted trumpet nasal through a band-pass; the synthesizer brass resonant.
Patch Brass(int i) {
    static constexpr struct {
        float Cutoff, EnvOctaves, Attack;
    } kHorns[] = {{700, 2.2f, 0.03f}, {500, 2.0f, 0.05f}, {280, 1.8f, 0.06f}, {900, 1.0f, 0.03f},
                  {350, 1.5f, 0.07f}, {650, 2.2f, 0.04f}, {500, 3.0f, 0.01f}, {450, 2.5f, 0.06f}};
    const auto& h = kHorns[i];
    Patch p = Waves(Wave::Saw, Wave::Saw, 0, 0, Filter::LowPass, h.Cutoff, 1.0f,
                    {h.Attack, 0.5f, 0.85f, 0, 0.12f});
    p.KeyTrack = 0.8f, p.EnvOctaves = h.EnvOctaves,
    p.FilterEnv = {h.Attack * 1.5f, 0.4f, 0.6f, 0, 0.15f};
    p.VelocityBright = 0.8f;
    Vibrato(p, 10, 5.3f, 0.35f);
    switch (i) {
    case 0: // trumpet: its own bright spectrum, the lip's buzz at the start
        p = Additive(56, {0.02f, 0.5f, 0.85f, 0, 0.2f});
        Vibrato(p, 10, 5.3f, 0.35f);
        Strike(p, 0.04f, 1500, 0.03f);
        break;
    case 3: // muted trumpet
        p.FilterKind = Filter::BandPass, p.CutoffHz = 1400, p.KeyTrack = 0.3f, p.Q = 2.0f;
        break;
    case 4: // French horn: round and distant
        p.Osc2 = Wave::Triangle, p.Osc2Level = 0.6f;
        break;
    case 5: // brass section
        p.Osc2Level = 0.9f, p.Osc2Cents = 12;
        break;
    case 6: // synth brass
    case 7:
        p.Osc2Level = 0.9f, p.Osc2Cents = 9, p.Q = 2.0f, p.VibratoCents = 0;
        if (i == 7) p.Osc2 = Wave::Pulse, p.PulseWidth = 0.35f;
        break;
    }
    return p;
}

// Reeds: saxophones bright and breathy, double reeds nasal (narrow pulse through a
// band-pass), the clarinet hollow (a square wave has only odd harmonics).
Patch Reed(int i) {
    Patch p;
    if (i < 4) { // saxophones, soprano to baritone
        const float cutoff[] = {2200, 1700, 1300, 900};
        p = Waves(Wave::Saw, Wave::Pulse, 0.3f, 0, Filter::LowPass, cutoff[i], 1.8f,
                  {0.03f, 0.3f, 0.85f, 0, 0.1f});
        p.PulseWidth = 0.3f, p.KeyTrack = 0.5f, p.EnvOctaves = 0.8f,
        p.FilterEnv = {0.02f, 0.3f, 0.3f, 0, 0.1f};
        Breath(p, 0.06f, 2, 1.0f);
        Vibrato(p, 15, 5.0f, 0.3f);
        if (i >= 2) p.Drive = 0.8f;
        if (i == 1) { // alto: its own reedy spectrum
            p = Additive(65, {0.03f, 0, 1, 0, 0.2f});
            Breath(p, 0.04f, 2, 1.0f);
            Vibrato(p, 15, 5.0f, 0.3f);
        }
    } else if (i < 7) { // oboe, English horn, bassoon
        const float centre[] = {1300, 1000, 500};
        p = Waves(Wave::Pulse, Wave::Saw, 0, 0, Filter::BandPass, centre[i - 4], 1.3f,
                  {0.03f, 0, 1, 0, 0.08f});
        p.PulseWidth = 0.18f, p.KeyTrack = 0.3f;
        Breath(p, 0.03f, 2, 1.5f);
        Vibrato(p, 10, 5.5f, 0.3f);
    } else { // clarinet
        p = Waves(Wave::Square, Wave::Saw, 0, 0, Filter::LowPass, 1500, 0.9f,
                  {0.03f, 0, 1, 0, 0.08f});
        p.KeyTrack = 0.6f;
        Breath(p, 0.04f, 1, 2.0f);
        Vibrato(p, 5, 5.0f, 0.5f);
    }
    p.VelocityBright = 0.6f;
    return p;
}

// Pipes: nearly pure tones with breath noise centred on the pitch and a chiff at the start.
Patch Pipe(int i) {
    static constexpr struct {
        float Index, Breath, Vibrato, Attack;
    } kPipes[] = {{0.7f, 0.10f, 12, 0.04f}, {1.0f, 0.10f, 14, 0.05f}, {1.2f, 0.05f, 4, 0.03f},
                  {0.6f, 0.30f, 10, 0.05f}, {0.2f, 0.45f, 6, 0.08f},  {0.8f, 0.30f, 22, 0.08f},
                  {0.1f, 0.03f, 20, 0.03f}, {0.35f, 0.06f, 8, 0.03f}};
    const auto& k = kPipes[i];
    Patch p = i == 1 ? Additive(73, {0.2f, 0, 1, 0, 0.3f})
                     : Fm(FmAlgo::Stack2, {k.Attack, 0, 1, 0, 0.12f}, Op(1, 1),
                          Op(1, k.Index, {k.Attack * 2, 0.5f, 0.6f, 0, 0}));
    Breath(p, k.Breath, 1, i == 4 ? 8.0f : 3.0f);
    p.NoiseEnv = {0.002f, 0.12f, 0.5f, 0, 0.1f}; // the chiff, then steady breath
    Vibrato(p, k.Vibrato, 5.0f, 0.35f);
    p.VelocityBright = 0.4f;
    return p;
}

// Synthesizer leads: bright oscillators with little filtering and fast envelopes.
Patch Lead(int i) {
    Patch p = Waves(Wave::Square, Wave::Square, 0.5f, 6, Filter::LowPass, 3500, 1.0f,
                    {0.004f, 0, 1, 0, 0.08f});
    p.KeyTrack = 0.6f;
    Vibrato(p, 8, 5.5f, 0.4f);
    switch (i) {
    case 0: // square: its own spectrum, held, beating slowly like two oscillators a little apart
        p = Additive(80, {0.003f, 0, 1, 0, 0.15f});
        Vibrato(p, 8, 5.5f, 0.4f);
        p.Tremolo = 0.7f, p.LfoHz = 1.4f, p.LfoDelay = 0;
        break;
    case 1: // sawtooth
        p.Osc1 = p.Osc2 = Wave::Saw, p.Osc2Cents = 9;
        break;
    case 2: // calliope: hollow and breathy
        p.Osc1 = Wave::Triangle, p.Osc2Level = 0;
        Breath(p, 0.15f, 1, 2.0f);
        break;
    case 3: // chiff
        p.Osc1 = Wave::Pulse, p.PulseWidth = 0.3f, p.Osc2Level = 0;
        Strike(p, 0.3f, 2000, 0.06f);
        break;
    case 4: // charang: distorted sawtooth
        p.Osc1 = p.Osc2 = Wave::Saw, p.Osc2Cents = 12, p.Drive = 4.0f;
        break;
    case 5: // voice
        p.Osc1 = Wave::Saw, p.FilterKind = Filter::Vowel, p.CutoffHz = 650, p.Formant2Hz = 1100,
        p.KeyTrack = 0;
        p.Q = 3.0f, p.VibratoCents = 15;
        break;
    case 6: // fifths
        p.Osc1 = p.Osc2 = Wave::Saw, p.Osc2Semitones = 7, p.Osc2Cents = 0, p.Osc2Level = 0.7f;
        break;
    case 7: // bass and lead: an octave below, resonant
        p.Osc1 = p.Osc2 = Wave::Saw, p.Osc2Semitones = -12, p.Osc2Level = 0.8f, p.Q = 2.5f;
        p.CutoffHz = 1500, p.EnvOctaves = 1.5f, p.FilterEnv = {0.002f, 0.4f, 0.3f, 0, 0.1f};
        break;
    }
    return p;
}

// Pads: slow attacks and long releases, detuned pairs, slowly moving filters.
Patch Pad(int i) {
    Patch p =
        Waves(Wave::Saw, Wave::Saw, 1.0f, 10, Filter::LowPass, 900, 0.8f, {0.35f, 0, 1, 0, 1.5f});
    p.KeyTrack = 0.4f;
    switch (i) {
    case 1: // warm: its own soft spectrum, swelling in slowly
        p = Additive(89, {0.6f, 0, 1, 0, 1.5f});
        Vibrato(p, 5, 4.5f, 0.5f);
        break;
    case 0: // new age: a bell over the pad
        p = Fm(FmAlgo::TwoPairs, {0.01f, 0, 1, 0, 1.5f}, Op(1, 0.7f, {0.4f, 0, 1, 0, 0}),
               Op(1, 0.8f), Op(1, 0.6f, {0.001f, 2.0f, 0, 0, 0}),
               Op(3.5f, 1.5f, {0.001f, 1.0f, 0.2f, 0, 0}));
        break;
    case 2: // polysynth
        p.Osc2 = Wave::Pulse, p.PulseWidth = 0.4f, p.CutoffHz = 1400;
        p.Amp = {0.02f, 1.0f, 0.7f, 0, 0.6f}, p.EnvOctaves = 1.5f,
        p.FilterEnv = {0.01f, 0.8f, 0.2f, 0, 0.5f};
        break;
    case 3: // choir
        p.FilterKind = Filter::Vowel, p.CutoffHz = 700, p.Formant2Hz = 1200, p.KeyTrack = 0,
        p.Q = 2.5f;
        p.Amp.Attack = 0.5f;
        Vibrato(p, 8, 4.5f, 0.3f);
        break;
    case 4: // bowed glass
        p = Fm(FmAlgo::Stack2, {0.6f, 0, 1, 0, 1.2f}, Op(1, 1), Op(2, 0.7f, {0.8f, 0, 1, 0, 0}));
        break;
    case 5: // metallic
        p = Fm(FmAlgo::Stack2, {0.15f, 0, 1, 0, 1.5f}, Op(1, 1),
               Op(1.41f, 2.0f, {0.5f, 2.0f, 0.5f, 0, 0}));
        break;
    case 6: // halo
        p.FilterKind = Filter::Vowel, p.CutoffHz = 400, p.Formant2Hz = 2200, p.KeyTrack = 0,
        p.Q = 2.0f;
        p.Amp = {0.6f, 0, 1, 0, 2.0f}, p.Tremolo = 0.2f, p.LfoHz = 0.8f, p.LfoDelay = 0;
        break;
    case 7: // sweep: the filter swept slowly by the LFO
        p.Q = 3.0f, p.LfoOctaves = 1.8f, p.LfoHz = 0.25f, p.LfoDelay = 0;
        break;
    }
    return p;
}

// Synthesizer effects: bells, sweeps and noises over a slow pad.
Patch SynthEffect(int i) {
    Patch p;
    switch (i) {
    case 0: // rain: glassy drops with hiss
        p = Fm(FmAlgo::Stack2, {0.002f, 1.5f, 0.2f, 3, 1.0f}, Op(1, 1),
               Op(3.1f, 1.2f, {0.001f, 0.5f, 0.1f, 0, 0}));
        p.NoiseLevel = 0.15f, p.NoiseFilter = Filter::HighPass, p.NoiseHz = 6000;
        p.NoiseEnv = {0.3f, 0, 1, 0, 1.0f};
        break;
    case 1: // soundtrack: a pad whose filter opens slowly
        p = Waves(Wave::Saw, Wave::Saw, 1.0f, 8, Filter::LowPass, 500, 1.2f, {0.6f, 0, 1, 0, 2.0f});
        p.EnvOctaves = 2.0f, p.FilterEnv = {2.0f, 0, 1, 0, 2.0f}, p.KeyTrack = 0.4f;
        break;
    case 2: // crystal
        p = Fm(FmAlgo::TwoPairs, {0.001f, 4.0f, 0, 0, 2.0f}, Op(1, 1),
               Op(5.19f, 1.5f, {0.001f, 1.5f, 0, 0, 0}), Op(3.01f, 0.4f, {0.001f, 2.0f, 0, 0, 0}),
               Op(7.0f, 0.8f, {0.001f, 0.5f, 0, 0, 0}));
        break;
    case 3: // atmosphere: a plucked string fading into a soft pad
        p = Additive(99, {0.1f, 6.0f, 0, 0, 3.5f});
        Strung(p, 0, 8.0f, 4.0f);
        break;
    case 4: // brightness
        p = Waves(Wave::Saw, Wave::Saw, 0.6f, 5, Filter::LowPass, 5000, 0.8f,
                  {0.08f, 0, 1, 0, 2.0f});
        p.Osc2Semitones = 12, p.KeyTrack = 0.3f;
        break;
    case 5: // goblins: a wobbling, resonant, slowly swept voice
        p = Waves(Wave::Saw, Wave::Pulse, 0.7f, 20, Filter::LowPass, 600, 4.0f,
                  {0.8f, 0, 1, 0, 2.0f});
        p.LfoOctaves = 2.5f, p.LfoHz = 0.6f, p.LfoDelay = 0, p.VibratoCents = 30;
        break;
    case 6: // echoes
        p = Fm(FmAlgo::Stack2, {0.05f, 2.0f, 0.5f, 0, 2.5f}, Op(1, 1),
               Op(2, 1.0f, {0.001f, 0.8f, 0.3f, 0, 0}));
        p.Tremolo = 0.5f, p.LfoHz = 3.0f, p.LfoDelay = 0;
        break;
    case 7: // science fiction: a three-operator stack with fast, deep vibrato
        p = Fm(FmAlgo::Stack3, {0.1f, 0, 1, 0, 1.5f}, Op(1, 1),
               Op(0.5f, 2.5f, {0.5f, 1.0f, 0.5f, 0, 0}), Op(3.5f, 1.2f, {0.8f, 2.0f, 0.3f, 0, 0}));
        Vibrato(p, 60, 7.0f, 0);
        break;
    }
    return p;
}

// Ethnic: plucked strings with their twang, a thumb piano, and nasal reeds.
Patch Ethnic(int i) {
    Patch p;
    switch (i) {
    case 0: // sitar: a buzzing, bright string through a sweeping resonance
        p = Pluck(5.0f, 0.95f, 0.05f, 0.3f);
        p.Drive = 1.5f, p.FilterKind = Filter::BandPass, p.CutoffHz = 1200, p.KeyTrack = 0.8f,
        p.Q = 1.2f;
        p.EnvOctaves = 1.5f, p.FilterEnv = {0.001f, 1.0f, 0.2f, 0, 0.3f};
        break;
    case 1: // banjo: very bright, short
        p = Additive(105, {0.001f, 1.2f, 0, 0, 0.3f});
        Strung(p, 0.0001f, 6.0f, 6.0f);
        p.KeyDecay = 0.3f;
        Strike(p, 0.1f, 4000, 0.01f);
        break;
    case 2: // shamisen
        p = Pluck(1.0f, 0.7f, 0.08f, 0.1f);
        Strike(p, 0.08f, 1500, 0.02f);
        Darken(p, 2000);
        break;
    case 3: // koto
        p = Pluck(3.0f, 0.7f, 0.2f, 0.3f);
        break;
    case 4: // kalimba: a tine with a high, quickly dying partial
        p = Fm(FmAlgo::PairPlus, {0.001f, 1.2f, 0, 0, 0.3f}, Op(1, 1),
               Op(1, 0.3f, {0.001f, 0.2f, 0, 0, 0}), Op(6.27f, 0.3f, {0.001f, 0.1f, 0, 0, 0}));
        p.KeyDecay = 0.3f;
        break;
    case 5: // bagpipe: a loud nasal chanter
        p = Waves(Wave::Saw, Wave::Pulse, 0.6f, 4, Filter::BandPass, 1800, 1.4f,
                  {0.02f, 0, 1, 0, 0.05f});
        p.PulseWidth = 0.2f, p.KeyTrack = 0.4f, p.Drive = 1.0f;
        break;
    case 6: // fiddle: a violin played bright and plain
        p = Waves(Wave::Saw, Wave::Saw, 0.2f, 4, Filter::LowPass, 3200, 1.0f,
                  {0.04f, 0, 1, 0, 0.15f});
        p.KeyTrack = 0.5f;
        Vibrato(p, 10, 6.0f, 0.2f);
        break;
    case 7: // shanai
        p = Waves(Wave::Pulse, Wave::Saw, 0, 0, Filter::BandPass, 1500, 2.0f,
                  {0.03f, 0, 1, 0, 0.08f});
        p.PulseWidth = 0.15f, p.KeyTrack = 0.5f;
        Vibrato(p, 25, 6.0f, 0.2f);
        break;
    }
    return p;
}

// Percussive: pitched metal and wood, drums tuned to the key.
Patch Percussive(int i) {
    Patch p;
    switch (i) {
    case 0: // tinkle bell: three inharmonic modulators on one carrier, the highest dying first
        p = Fm(FmAlgo::Branch, {0.001f, 1.2f, 0, 0, 0.4f}, Op(1, 1),
               Op(7.1f, 1.2f, {0.001f, 0.4f, 0, 0, 0}), Op(3.53f, 0.6f, {0.001f, 0.8f, 0, 0, 0}),
               Op(11.2f, 0.8f, {0.001f, 0.1f, 0, 0, 0}));
        break;
    case 1: // agogo
        p = Fm(FmAlgo::Stack2, {0.001f, 0.6f, 0, 0, 0.2f}, Op(1, 1),
               Op(2.6f, 1.8f, {0.001f, 0.3f, 0, 0, 0}));
        break;
    case 2: // steel drums: a strong octave and a soft twelfth
        p = Additive(114, {0.001f, 1.5f, 0, 0, 0.3f});
        Strung(p, 0, 8.0f, 4.0f);
        p.KeyDecay = 1.0f;
        break;
    case 3: // woodblock
        p = Fm(FmAlgo::Stack2, {0.001f, 0.15f, 0, 0, 0.05f}, Op(1, 1),
               Op(2.1f, 0.6f, {0.001f, 0.05f, 0, 0, 0}));
        Strike(p, 0.3f, 2500, 0.01f);
        break;
    case 4: // taiko
    case 5: // melodic tom
    case 6: // synth drum: the classic falling sweep
        p = Fm(FmAlgo::Stack2, {0.001f, i == 4 ? 1.2f : 0.7f, 0, 0, 0.3f}, Op(1, 1));
        p.PitchDrop = i == 6   ? 12.0f
                      : i == 4 ? 3.0f
                               : 5.0f,
        p.PitchSeconds = i == 6 ? 0.12f : 0.04f;
        if (i != 6) Strike(p, 0.35f, i == 4 ? 200 : 500, 0.1f, Filter::LowPass);
        break;
    case 7: // reverse cymbal: a cymbal swelling up and cut
        p.Kind = Tone::Metal, p.FilterKind = Filter::HighPass, p.CutoffHz = 2500, p.KeyTrack = 0;
        p.NoiseLevel = 0.5f, p.NoiseFilter = Filter::BandPass, p.NoiseHz = 5000, p.NoiseQ = 0.5f;
        p.NoiseEnv = {0.001f, 0, 1, 0, 0.05f};
        p.Amp = {1.5f, 0.05f, 0, 0, 0.05f};
        break;
    }
    return p;
}

// Sound effects: noises shaped by filters and LFOs.
Patch SoundEffect(int i) {
    Patch p;
    p.Kind = Tone::None;
    p.NoiseLevel = 1.0f, p.NoiseEnv = {0.001f, 0, 1, 0, 0.2f};
    p.VelocityBright = 0;
    switch (i) {
    case 0: // guitar fret noise: a squeak of the string
        p.NoiseHz = 2500, p.NoiseQ = 4.0f, p.NoiseKeyTrack = 0.5f;
        p.Amp = {0.01f, 0.15f, 0, 0, 0.05f};
        break;
    case 1: // breath noise
        p.NoiseHz = 1200, p.NoiseQ = 1.0f, p.NoiseKeyTrack = 1;
        p.Amp = {0.06f, 0, 1, 0, 0.2f};
        break;
    case 2: // seashore: waves coming in and going out
        p.NoiseFilter = Filter::LowPass, p.NoiseHz = 4500, p.NoiseQ = 0.5f;
        p.Amp = {0.4f, 0, 1, 0, 1.5f}, p.Tremolo = 0.6f, p.LfoHz = 0.15f, p.LfoDelay = 0;
        break;
    case 3: // bird tweet: a quick warbling whistle
        p = Fm(FmAlgo::Stack2, {0.02f, 0.5f, 0.3f, 0, 0.1f}, Op(4, 1));
        Vibrato(p, 300, 14.0f, 0);
        p.Tremolo = 0.6f;
        break;
    case 4: // telephone ring: two tones chopped twenty times a second
        p = Waves(Wave::Square, Wave::Square, 1.0f, 0, Filter::LowPass, 3000, 0.7f,
                  {0.005f, 0, 1, 0, 0.05f});
        p.Osc2Semitones = 4, p.KeyTrack = 0, p.Tremolo = 1.0f, p.LfoHz = 20, p.LfoDelay = 0;
        break;
    case 5: // helicopter: beating blades
        p.NoiseFilter = Filter::LowPass, p.NoiseHz = 700;
        p.Amp = {0.3f, 0, 1, 0, 0.5f}, p.Tremolo = 0.9f, p.LfoHz = 12, p.LfoDelay = 0;
        break;
    case 6: // applause: a crackle of many hands
        p.NoiseHz = 2000, p.NoiseQ = 0.6f;
        p.Amp = {0.4f, 0, 1, 0, 1.0f}, p.Tremolo = 0.5f, p.LfoHz = 17, p.LfoDelay = 0;
        break;
    case 7: // gunshot: a crack and a rumble
        p = Fm(FmAlgo::Stack2, {0.001f, 0.8f, 0, 0, 0.3f}, Op(1, 0.5f));
        p.PitchDrop = 7, p.PitchSeconds = 0.05f, p.FixedHz = 60;
        p.NoiseLevel = 1.0f, p.NoiseFilter = Filter::LowPass, p.NoiseHz = 3000;
        p.NoiseEnv = {0.001f, 0.6f, 0, 0, 0.3f};
        break;
    }
    return p;
}

using FamilyMaker = Patch (*)(int);
constexpr FamilyMaker kFamilies[16] = {Piano,       ChromaticPercussion,
                                       Organ,       Guitar,
                                       Bass,        Strings,
                                       Ensemble,    Brass,
                                       Reed,        Pipe,
                                       Lead,        Pad,
                                       SynthEffect, Ethnic,
                                       Percussive,  SoundEffect};

// Each program's level in dB at C2, C3, C4, C5 and C6 (Patch::KeyLevelDb), set so that its
// notes at velocity 100 sound as loud as the same soundfont plays them.
constexpr float kProgramLevelDb[128][5] = {
    {-8, -3.5, -0.5, -0.5, -2.5},
    {-8.5, -4, -1, -0.5, -3},
    {1.5, 2, 4.5, 3.5, 0.5},
    {-3, -2.5, -0.5, -2, -6.5},
    {-4.5, -2, 3.5, 4.5, 0},
    {-1, -1.5, 0.5, 0, -1},
    {15, 14.5, 14, 17.5, 13},
    {-6.5, -6.5, -1, -2, -2.5},
    {1.5, 1.5, 3, 4.5, 3},
    {0.5, 0.5, -1.5, -3, -2},
    {0, -0.5, -1, 3.5, 4},
    {-2, -5.5, -1.5, -1.5, -7},
    {4, 0, 4.5, 6, 7},
    {-1, -5.5, -4, -4.5, -4.5},
    {-1.5, -1.5, -2.5, -2.5, -4.5},
    {9.5, 7.5, 6, 4.5, 11},
    {-7, -5.5, -5.5, -6.5, -8.5},
    {-3.5, -5.5, -3.5, -2.5, -4},
    {2, 2.5, 1, 0, 1},
    {-5, -5, -4.5, -4, -3},
    {-5.5, -10, -4, -4.5, -4.5},
    {-4, -8.5, -7, -9, -6},
    {3.5, 1.5, -0.5, -1, -3},
    {-6, -6, -7, -9, -5.5},
    {6, 3.5, -0.5, 0.5, -4},
    {5, 1, -1, 0.5, -4.5},
    {-2.5, 5.5, 2.5, 7, 17.5},
    {3, 3.5, -6, -1.5, -3.5},
    {21.5, 19, 10.5, 5.5, 4.5},
    {9.5, 6.5, 9, 10.5, 11.5},
    {11, 9, 9.5, 10.5, 14},
    {3, 8, 10, 10, 10},
    {0.5, -0.5, -3.5, -5, 2},
    {1, 1, -1.5, -4.5, -6},
    {0.5, 0.5, -2, -5, -6.5},
    {1.5, 6.5, 4, -0.5, -5},
    {2.5, -1.5, -4, -7, -8},
    {-2, -0.5, -4, -7.5, -10},
    {-5, -7.5, -8, -7, -7},
    {0.5, 1, 0, -1, 0},
    {-4, -2.5, -1, -3, -3.5},
    {1.5, 1.5, 1, 0.5, 1},
    {-0.5, 0.5, 0, -0.5, -1.5},
    {3.5, -1.5, 2, 2, 2},
    {2.5, 4, 3, 4.5, 5},
    {16.5, 15, 16, 13, 10.5},
    {4.5, 6, 4.5, 2, -8},
    {-1, -5.5, -9, -13, -18},
    {-7.5, -5.5, -4.5, -2.5, -2.5},
    {-4, 1, -0.5, 2, 2},
    {-3, -6.5, -2, -3, -4.5},
    {-1.5, -4, -3.5, -5.5, -7},
    {10, 7, 4, 2.5, 5},
    {6, 2.5, 2, 8, 5},
    {11, 8, 2.5, -1.5, 5},
    {12.5, 10, 8, 6, 3},
    {-10.5, -9.5, -11.5, -6.5, -6},
    {-3.5, 0, 7, 6, 5},
    {2, 4, 7, 8, 6.5},
    {16, 14, 12, 11.5, 10.5},
    {-2, 4.5, 8, 1, 0.5},
    {-0.5, -5, -2.5, -0.5, -1.5},
    {-6, -7, -6, -6, -9},
    {-8, -8, -7, -8, -10.5},
    {1, -2.5, -4.5, 1, 0},
    {-5.5, -5, -2, -2, 0},
    {3.5, 1.5, 5.5, -0.5, 2.5},
    {-0.5, -4.5, 0.5, 0, -1.5},
    {8, 8, 6, 3.5, 3.5},
    {6, 6, 3, -1, 2.5},
    {4.5, 3, 4, 3.5, 7.5},
    {-5, -7.5, -1.5, 0, 0.5},
    {-2.5, -3, 0, 1, 1.5},
    {-5.5, -4.5, -3.5, -0.5, 2},
    {1.5, -2.5, 0, 1, 5},
    {-0.5, -1.5, 0, 1, 0.5},
    {2.5, 0, 0.5, 0.5, 0},
    {2, 1, 0.5, 0, -0.5},
    {0.5, 3, 4, 3, 2.5},
    {4, 1, 1, 1.5, 1},
    {1.5, 2.5, 3, 2.5, 1.5},
    {0.5, -1, 1.5, 1, 0},
    {0.5, 0.5, 1.5, 0, -2.5},
    {-6.5, -6.5, -5, -6, -9},
    {-1, -1.5, 2, 1, 0.5},
    {14.5, 10.5, 6, 2.5, 4},
    {-4.5, -5, -5.5, -5, -6.5},
    {-8, -5.5, -5, -5.5, -7},
    {-1, -2.5, 1, 0.5, -1.5},
    {-6, -3, -0.5, -3.5, -6},
    {-1, -10.5, -4.5, -6, -6.5},
    {9, 5, 4, 2, 4.5},
    {0, -3.5, -3, -3, -6},
    {-1.5, 1.5, 4, 2, -1},
    {8, 3.5, 2, 7.5, 9.5},
    {-13, -8.5, -8, -3.5, -0.5},
    {1.5, 0, 5.5, 5.5, 2.5},
    {-7.5, -6, -5, -6, -7.5},
    {-6, -1.5, -5.5, -7.5, -10.5},
    {4, 3, 3, 2.5, 1},
    {0, 0, -1.5, -4.5, -9},
    {-5.5, -5, -4, -6.5, -12.5},
    {-0.5, -1, -1, -1, -5.5},
    {-6, -5, -4, -3, -5.5},
    {11.5, 8.5, 5.5, 5.5, 5.5},
    {-6, -7.5, -3.5, -2, -5},
    {12, 9.5, 9, 12.5, 10.5},
    {6.5, 5, 3.5, 5, 1.5},
    {-7.5, -9.5, -5.5, -0.5, -3},
    {7.5, 7, 5.5, 6, 3.5},
    {-1.5, -1.5, 0.5, 0.5, -1},
    {7.5, 8, 3.5, 1.5, 2.5},
    {4.5, 2, 2, -0.5, -2},
    {-1, -3.5, -3, -5, -7.5},
    {2, 3, 2, 1.5, 0.5},
    {0.5, -0.5, 0, 0, -1},
    {6.5, 4.5, 4, 3, 1.5},
    {7, 5.5, 4, 2.5, 1},
    {9.5, 10, 8.5, 8, 8},
    {4.5, 4.5, 4, 3.5, 1.5},
    {30.5, 27.5, 27, 25, 22.5},
    {14.5, 10.5, 6.5, 3, -0.5},
    {6, 6.5, 6, 5.5, 4.5},
    {7, 6.5, 6, 5.5, 5},
    {-4, -6.5, -4.5, -5, -4},
    {5.5, 6, 5.5, 6, 6},
    {12.5, 12, 12, 12.5, 12.5},
    {15, 14.5, 13.5, 13, 12.5},
};

// Each program's own stereo image and room (Patch::Width, ReverbSend, ChorusSend), as the same
// soundfont's presets give them.
struct Room {
    float Width, Reverb, Chorus;
};
constexpr Room kProgramRoom[128] = {
    {0.95, 0.3, 0},     {0.95, 0.3, 0},      {0, 0, 0.05},       {0.95, 0.105, 0},
    {0.15, 0.097, 0.1}, {0.2, 0.159, 0.17},  {0, 0.064, 0},      {0, 0.062, 0.04},
    {0.1, 0, 0},        {0, 0, 0},           {0, 0, 0},          {0.3, 0.3, 0},
    {0.1, 0.3, 0},      {0.05, 0.3, 0},      {0, 0, 0},          {0.1, 0, 0.12},
    {0, 0.19, 0.11},    {0, 0.165, 0},       {0, 0.127, 0},      {0, 0, 0},
    {0, 0.3, 0},        {0.25, 0.168, 0},    {0, 0.154, 0},      {0.2, 0, 0},
    {0, 0, 0},          {0, 0, 0},           {0, 0.3, 0.15},     {0, 0.3, 0.32},
    {0, 0.26, 0.07},    {0, 0.054, 0},       {0, 0.157, 0},      {0, 0.3, 0},
    {0, 0.031, 0},      {0, 0.048, 0},       {0, 0.034, 0},      {0, 0.01, 0},
    {0, 0.043, 0},      {0, 0.023, 0},       {0.3, 0.001, 0.11}, {0, 0.024, 0.06},
    {0.5, 0.085, 0},    {1, 0.052, 0},       {0.55, 0.07, 0},    {0.35, 0, 0},
    {1.05, 0, 0},       {0.25, 0.3, 0},      {0.45, 0, 0},       {0.55, 0.03, 0},
    {1.05, 0, 0},       {1.05, 0, 0},        {0, 0, 0.6},        {0.1, 0, 0.6},
    {0.8, 0, 0},        {0.1, 0.3, 0},       {0.1, 0, 0},        {0.2, 0.3, 0},
    {0, 0.203, 0},      {0, 0.137, 0},       {0, 0.229, 0},      {0, 0.191, 0},
    {0.55, 0.159, 0},   {0.1, 0.208, 0},     {0.5, 0.089, 0.6},  {0.5, 0.085, 0.53},
    {0.05, 0.113, 0},   {0.1, 0.086, 0},     {0.1, 0.13, 0},     {0.1, 0.253, 0},
    {0.9, 0.124, 0},    {0.95, 0.175, 0.06}, {1.25, 0.105, 0},   {0.05, 0.266, 0},
    {0.15, 0.17, 0},    {0.45, 0.081, 0},    {0, 0.284, 0},      {0, 0.179, 0},
    {0, 0.054, 0},      {0, 0.104, 0},       {0, 0.074, 0},      {0, 0.059, 0},
    {0.75, 0.15, 0.42}, {0, 0.044, 0.6},     {0, 0, 0.6},        {0, 0.126, 0.45},
    {0, 0.041, 0.4},    {0, 0, 0.33},        {1.05, 0.122, 0.6}, {0, 0.086, 0.6},
    {0, 0, 0.6},        {0.45, 0, 0.1},      {0.9, 0, 0.32},     {0.45, 0, 0.27},
    {0, 0, 0.37},       {0, 0, 0.22},        {0.35, 0, 0.48},    {0, 0, 0.6},
    {0, 0, 0.6},        {0, 0, 0.6},         {0, 0, 0.6},        {0, 0, 0.09},
    {1, 0, 0.47},       {0, 0, 0.08},        {0.1, 0, 0.33},     {0, 0, 0.28},
    {0.8, 0, 0.08},     {0, 0, 0},           {0, 0, 0.11},       {0, 0, 0.08},
    {0, 0, 0},          {0.1, 0.3, 0.04},    {0.5, 0.238, 0},    {0, 0.188, 0},
    {0, 0.118, 0},      {0.15, 0.3, 0},      {0, 0.3, 0.14},     {0, 0.3, 0},
    {0.1, 0.058, 0},    {0, 0.132, 0},       {0, 0.3, 0.1},      {0, 0.145, 0},
    {0, 0.047, 0},      {0, 0.002, 0},       {0.7, 0, 0},        {0, 0.008, 0},
    {0, 0.209, 0},      {1.05, 0, 0},        {0, 0, 0},          {0, 0.3, 0},
};

} // namespace

const Patch& MelodicPatch(int program) {
    static const std::array<Patch, 128> kPrograms = [] {
        std::array<Patch, 128> all;
        for (int i = 0; i < 128; ++i) {
            all[size_t(i)] = kFamilies[i / 8](i % 8);
            std::copy_n(kProgramLevelDb[i], 5, all[size_t(i)].KeyLevelDb);
            const Room& room = kProgramRoom[i];
            all[size_t(i)].Width = room.Width;
            all[size_t(i)].ReverbSend = room.Reverb, all[size_t(i)].ChorusSend = room.Chorus;
        }
        return all;
    }();
    return kPrograms[size_t(program & 0x7F)];
}

} // namespace synth
