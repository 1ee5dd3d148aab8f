// What a General MIDI instrument is made of in our synthesizer: a tone generator (FM
// operators, two band-limited oscillators, a plucked string or a metallic cluster), a filter
// with its own envelope, a noise source with its own filter and envelope (breath, hammer,
// snare wires), a pitch envelope, an LFO and the amplitude envelope. Every instrument is a
// set of these numbers, written by us in GmPrograms.cpp and GmDrums.cpp.
#pragma once

#include "SynthDsp.h"

namespace synth {

enum class Tone : uint8_t {
    Fm,       // up to four sine operators wired by an algorithm
    Waves,    // two band-limited oscillators
    Pluck,    // Karplus-Strong string
    Metal,    // six square waves at inharmonic ratios (cymbals, hi-hats)
    Partials, // additive sines, each with its own level and fall (Spectrum)
    None,     // noise only
};

enum class Wave : uint8_t { Sine, Triangle, Saw, Square, Pulse };

// Operator 0 is always heard; "a>b" means a modulates b.
enum class FmAlgo : uint8_t {
    Stack2,   // 1>0
    Stack3,   // 2>1>0
    TwoPairs, // 1>0, 3>2; 0 and 2 heard
    Branch,   // 1>0, 2>0, 3>0
    PairPlus, // 1>0; 0, 2 and 3 heard
    Additive, // 0, 1, 2 and 3 heard
};

enum class Filter : uint8_t { Off, LowPass, BandPass, HighPass, Vowel };

struct FmOp {
    float Ratio = 1;  // of the note's frequency
    float Level = 0;  // amplitude when heard, modulation index in radians when modulating
    float Detune = 0; // cents
    Adsr Env;         // never released: the amplitude envelope ends the note
};

// An additive tone: partials 1, 2, 3 ... times Base times the note's frequency (drawbars and
// a piano's stretched strings move them), each with its level at three keys and, for struck
// and plucked strings, a fall that is the faster the higher the partial.
struct Spectrum {
    static constexpr int kPartials = 24;
    static constexpr int kKeys[3] = {48, 60, 72}; // C3, C4, C5
    static constexpr float kOff = -200;
    float Base = 1;
    // dB at each of kKeys; between two the levels are blended, beyond them the nearest holds.
    float LevelDb[3][kPartials] = {};
    // B at middle C: partial n sounds at n sqrt(1 + B n^2) times the lowest (a piano's stiff
    // strings), B doubling every octave up.
    float Inharmonicity = 0;
    // A partial n times the lowest falls an extra 60 dB in FadeSeconds / (n - 1) (at middle C,
    // scaled like the decays by KeyDecay); 0: no such fall.
    float FadeSeconds = 0;
    // Velocity 127 raises partial n by this many dB times log2 n over velocity 100, softer
    // notes lower it: a harder strike is brighter (and, the power kept, no louder for it).
    float VelocityTiltDb = 0;
    // Partials above this lose 24 dB an octave (the soundboard and the air); 0: none.
    float RolloffHz = 0;
};

struct Patch {
    Tone Kind = Tone::Waves;
    float FixedHz = 0; // drums: the tone's frequency whatever the note

    FmAlgo Algo = FmAlgo::Stack2;
    float Feedback = 0; // of the highest modulator onto itself, in radians
    FmOp Ops[4];

    Wave Osc1 = Wave::Saw, Osc2 = Wave::Saw;
    float PulseWidth = 0.5f;
    float Osc2Level = 0, Osc2Semitones = 0, Osc2Cents = 0;

    Spectrum Partials{};

    float PluckSeconds = 3;   // the string's fall by 60 dB at middle C
    float PluckBright = 0.5f; // 0 dull to 1 ringing
    float PluckSoft = 0.3f;   // how much the excitation is smoothed: 0 a sharp pick, 1 a thumb

    Filter FilterKind = Filter::Off;
    float CutoffHz = 2000; // at middle C; band-pass and vowel: the centre (first formant)
    float KeyTrack = 1;    // 1: the cutoff follows the pitch, 0: fixed
    float Q = 0.7f;
    float EnvOctaves = 0; // cutoff raised this much by the filter envelope
    Adsr FilterEnv{0.002f, 0, 1, 0, 0.2f};
    float Formant2Hz = 0; // vowel: the second formant

    float NoiseLevel = 0;
    Filter NoiseFilter = Filter::BandPass;
    float NoiseHz = 3000, NoiseKeyTrack = 0, NoiseQ = 0.8f;
    Adsr NoiseEnv{0.001f, 0.05f, 0, 0, 0.05f};

    float PitchDrop = 0;        // semitones above the note at the start, falling to it
    float PitchSeconds = 0.05f; // time constant of that fall

    float LfoHz = 5, LfoDelay = 0.3f;
    float VibratoCents = 0, Tremolo = 0, LfoOctaves = 0;

    Adsr Amp;
    float Gain = 1;
    // Level in dB at C2, C3, C4, C5 and C6 (blended between, held beyond): how loud the
    // instrument is across its range.
    static constexpr int kLevelKeys[5] = {36, 48, 60, 72, 84};
    float KeyLevelDb[5] = {};
    float VelocityBright = 0.5f; // soft notes darker: modulation index and cutoff
    float KeyDecay = 0;          // decays shorten by this factor every octave above middle C
    float Drive = 0;             // soft clipping before the amplifier
    float Pan = 0;               // -1 left to 1 right, added to the channel's
    // The instrument's own stereo image and room, as soundfonts give their presets: how much
    // of it is sent 90 degrees apart to the two sides (0 mono, 1 uncorrelated, beyond that
    // the sides turn against each other), and its reverb and chorus sends, added to the
    // channel's.
    float Width = 0, ReverbSend = 0, ChorusSend = 0;
    uint8_t ChokeGroup = 0; // drums: a new hit silences the others of its group
};

// The 128 melodic programs, and the drum sounds of channel 10 by key (35 to 81; nullptr for
// keys that have none).
const Patch& MelodicPatch(int program);
const Patch* DrumPatch(int key);

} // namespace synth
