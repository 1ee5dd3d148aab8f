// The General MIDI drum kit of channel 10, keys 35 to 81: pitched bodies with falling pitch
// for kicks, toms, bongos and congas; tone and filtered noise for snares; six-square metal
// clusters and high-passed noise for hi-hats and cymbals; FM bells for cowbell, agogo and
// triangle.
#include "GmPatch.h"

#include <array>
#include <cmath>

namespace synth {
namespace {

constexpr int kFirstKey = 35, kLastKey = 81;
enum Choke : uint8_t { kNone, kHiHat, kWhistle, kGuiro, kCuica, kTriangle };

// A pitched drum: a sine at `hz` starting `drop` semitones higher, ringing `seconds`.
Patch Body(float hz, float drop, float dropSeconds, float seconds) {
    Patch p;
    p.Kind = Tone::Fm;
    p.FixedHz = hz;
    p.Ops[0] = {1, 1, 0, {}};
    p.PitchDrop = drop, p.PitchSeconds = dropSeconds;
    p.Amp = {0.001f, seconds, 0, 0, seconds};
    return p;
}

// A bell or bar: an FM pair at `hz` with modulator `ratio`.
Patch Bell(float hz, float ratio, float index, float seconds) {
    Patch p = Body(hz, 0, 0.05f, seconds);
    p.Ops[1] = {ratio, index, 0, {0.001f, seconds * 0.5f, 0, 0, 0}};
    return p;
}

// The noise part of a drum: filtered noise falling away over `seconds`.
void AddNoise(Patch& p, float level, Filter kind, float hz, float q, float seconds) {
    p.NoiseLevel = level;
    p.NoiseFilter = kind, p.NoiseHz = hz, p.NoiseQ = q;
    p.NoiseEnv = {0.001f, seconds, 0, 0, seconds};
}

Patch NoiseOnly(Filter kind, float hz, float q, float seconds) {
    Patch p;
    p.Kind = Tone::None;
    AddNoise(p, 1.0f, kind, hz, q, seconds * 1.5f);
    p.Amp = {0.001f, seconds, 0, 0, seconds};
    return p;
}

// Hi-hats and cymbals: the metal cluster at `hz` and noise, in a wide band from about `low`
// up, falling off again above twice that: real cymbals have little above 15 kHz.
Patch Cymbal(float hz, float low, float noise, float seconds) {
    Patch p;
    p.Kind = Tone::Metal;
    p.FixedHz = hz;
    // The cluster high-passed keeps the metal's ring in the middle; the noise gives the sizzle.
    p.FilterKind = Filter::HighPass, p.CutoffHz = low * 0.04f, p.KeyTrack = 0, p.Q = 0.6f;
    AddNoise(p, noise * 25.0f, Filter::BandPass, low * 1.6f, 0.5f, seconds);
    p.NoiseEnv = {0.001f, 0, 1, 0, seconds}; // the amplifier's fall is the cymbal's
    p.Amp = {0.001f, seconds, 0, 0, seconds};
    return p;
}

Patch Snare(float hz, float wires, float seconds) {
    Patch p = Body(hz, 2.5f, 0.03f, 0.12f);
    p.Kind = Tone::Fm, p.Algo = FmAlgo::Additive;
    p.Ops[1] = {1.73f, 0.6f, 0, {0.001f, 0.08f, 0, 0, 0}};
    AddNoise(p, wires * 2.5f, Filter::BandPass, 1500, 0.3f, seconds);
    p.Amp = {0.001f, seconds, 0, 0, seconds};
    return p;
}

Patch Tom(float hz) {
    Patch p = Body(hz, 5, 0.06f, 0.7f);
    AddNoise(p, 0.6f, Filter::LowPass, 2500, 0.7f, 0.08f);
    return p;
}

Patch HandDrum(float hz, float seconds) {
    Patch p = Body(hz, 2, 0.02f, seconds);
    AddNoise(p, 0.3f, Filter::BandPass, 2200, 1.0f, 0.012f);
    return p;
}

Patch Kick(float hz, float drop) {
    Patch p = Body(hz, drop, 0.03f, 0.3f);
    AddNoise(p, 1.5f, Filter::LowPass, 2500, 0.7f, 0.1f);
    p.Drive = 0.5f;
    return p;
}

Patch Choked(Patch p, Choke group) {
    p.ChokeGroup = group;
    return p;
}

Patch Panned(Patch p, float pan) {
    p.Pan = pan;
    return p;
}

Patch Key(int key) {
    switch (key) {
    case 35: // acoustic bass drum
        return Kick(50, 20);
    case 36: // bass drum 1
        return Kick(58, 24);
    case 37: { // side stick
        Patch p = Bell(600, 2.3f, 1.2f, 0.05f);
        AddNoise(p, 0.5f, Filter::BandPass, 2000, 1.5f, 0.04f);
        return p;
    }
    case 38: // acoustic snare
        return Snare(185, 1.0f, 0.25f);
    case 39: { // hand clap
        Patch p = NoiseOnly(Filter::BandPass, 1100, 1.2f, 0.3f);
        p.Tremolo = 0.7f, p.LfoHz = 45, p.LfoDelay = 0;
        return p;
    }
    case 40: // electric snare
        return Snare(220, 1.2f, 0.18f);
    case 41: // low floor tom
        return Panned(Tom(75), -0.4f);
    case 42: // closed hi-hat
        return Panned(Choked(Cymbal(220, 4000, 0.6f, 0.25f), kHiHat), 0.3f);
    case 43: // high floor tom
        return Panned(Tom(90), -0.3f);
    case 44: // pedal hi-hat
        return Panned(Choked(Cymbal(220, 4000, 0.4f, 0.1f), kHiHat), 0.3f);
    case 45: // low tom
        return Panned(Tom(105), -0.1f);
    case 46: // open hi-hat
        return Panned(Choked(Cymbal(220, 4000, 0.6f, 0.7f), kHiHat), 0.3f);
    case 47: // low-mid tom
        return Panned(Tom(125), 0.0f);
    case 48: // hi-mid tom
        return Panned(Tom(145), 0.15f);
    case 49: // crash cymbal 1
        return Panned(Cymbal(330, 3500, 0.7f, 5.0f), -0.3f);
    case 50: // high tom
        return Panned(Tom(170), 0.3f);
    case 51: // ride cymbal 1
        return Panned(Cymbal(500, 4000, 0.3f, 2.0f), 0.4f);
    case 52: { // Chinese cymbal
        Patch p = Cymbal(300, 3000, 0.6f, 1.5f);
        p.Drive = 1.0f;
        return Panned(p, -0.4f);
    }
    case 53: // ride bell
        return Panned(Bell(720, 2.4f, 1.5f, 1.3f), 0.4f);
    case 54: { // tambourine
        Patch p = Cymbal(600, 5000, 0.7f, 0.3f);
        p.Tremolo = 0.5f, p.LfoHz = 25, p.LfoDelay = 0;
        return Panned(p, 0.2f);
    }
    case 55: // splash cymbal
        return Panned(Cymbal(380, 3800, 0.6f, 0.9f), -0.2f);
    case 56: { // cowbell: two squares, band-passed
        Patch p;
        p.Osc1 = p.Osc2 = Wave::Square, p.Osc2Level = 0.8f, p.Osc2Semitones = 7.12f;
        p.FixedHz = 560;
        p.FilterKind = Filter::BandPass, p.CutoffHz = 800, p.KeyTrack = 0, p.Q = 1.5f;
        p.Amp = {0.001f, 0.35f, 0, 0, 0.35f};
        return Panned(p, 0.2f);
    }
    case 57: // crash cymbal 2
        return Panned(Cymbal(360, 3500, 0.7f, 3.2f), 0.3f);
    case 58: { // vibraslap
        Patch p = NoiseOnly(Filter::BandPass, 3000, 3.0f, 1.0f);
        p.Tremolo = 1.0f, p.LfoHz = 30, p.LfoDelay = 0;
        return p;
    }
    case 59: // ride cymbal 2
        return Panned(Cymbal(450, 4000, 0.3f, 2.2f), 0.4f);
    case 60: // hi bongo
        return Panned(HandDrum(420, 0.18f), 0.3f);
    case 61: // low bongo
        return Panned(HandDrum(300, 0.22f), 0.3f);
    case 62: // mute hi conga
        return Panned(HandDrum(340, 0.1f), -0.3f);
    case 63: // open hi conga
        return Panned(HandDrum(340, 0.35f), -0.3f);
    case 64: // low conga
        return Panned(HandDrum(240, 0.4f), -0.3f);
    case 65: // high and low timbale
    case 66: {
        Patch p = Bell(key == 65 ? 640 : 460, 1.6f, 1.0f, 0.4f);
        AddNoise(p, 0.4f, Filter::BandPass, 3000, 1.0f, 0.05f);
        return Panned(p, -0.2f);
    }
    case 67: // high agogo
        return Panned(Bell(920, 2.6f, 1.5f, 0.45f), 0.35f);
    case 68: // low agogo
        return Panned(Bell(690, 2.6f, 1.5f, 0.45f), 0.35f);
    case 69: // cabasa
        return Panned(NoiseOnly(Filter::HighPass, 7000, 0.7f, 0.1f), -0.3f);
    case 70: // maracas
        return Panned(NoiseOnly(Filter::HighPass, 8000, 0.7f, 0.06f), 0.3f);
    case 71: // short and long whistle
    case 72: {
        Patch p = Body(2500, 0, 0.05f, key == 71 ? 0.25f : 1.2f);
        p.Amp.Attack = 0.01f;
        p.VibratoCents = 40, p.LfoHz = 12, p.LfoDelay = 0;
        return Choked(p, kWhistle);
    }
    case 73: // short and long guiro
    case 74: {
        Patch p = NoiseOnly(Filter::BandPass, 3500, 2.0f, key == 73 ? 0.15f : 0.5f);
        p.Tremolo = 1.0f, p.LfoHz = key == 73 ? 45 : 30, p.LfoDelay = 0;
        return Panned(Choked(p, kGuiro), 0.2f);
    }
    case 75: // claves
        return Panned(Bell(2500, 3.6f, 0.5f, 0.08f), 0.3f);
    case 76: // hi and low wood block
    case 77: {
        Patch p = Bell(key == 76 ? 1000 : 750, 2.1f, 0.6f, 0.1f);
        AddNoise(p, 0.3f, Filter::BandPass, 2500, 1.0f, 0.01f);
        return Panned(p, 0.4f);
    }
    case 78: // mute and open cuica: a rising squeak
    case 79: {
        Patch p = Body(key == 78 ? 450 : 380, key == 78 ? -5.0f : -7.0f, key == 78 ? 0.05f : 0.1f,
                       key == 78 ? 0.15f : 0.4f);
        AddNoise(p, 0.2f, Filter::BandPass, 1200, 2.0f, 0.1f);
        return Choked(p, kCuica);
    }
    case 80: // mute and open triangle
    case 81:
        return Panned(Choked(Bell(4800, 1.51f, 0.8f, key == 80 ? 0.12f : 1.8f), kTriangle), 0.4f);
    default:
        return {};
    }
}

// Each drum's level in dB, balanced like the programs' (see GmPrograms.cpp), key 35 first.
constexpr float kDrumLevelDb[kLastKey - kFirstKey + 1] = {
    5.5, 5.5, 7, 4.5, 26, 3, 5, -22, 5, -14, 1.5, -24, 1.5, 1.5, -22.5, 1,
    -22.5, -5, -6.5, -12.5, -21, -3, -21.5, 24, -23.5, 3, 4, 3, 3.5, 5.5, 3.5, 5.5,
    -3.5, -3, 13, 11.5, 4, 6, 23, 19.5, 7.5, 6.5, 6.5, 13, 14.5, 3, -5,
};

// Each drum's own stereo image and room, like the programs' (GmPrograms.cpp), key 35 first.
struct Room {
    float Width, Reverb, Chorus;
};
constexpr Room kDrumRoom[kLastKey - kFirstKey + 1] = {
    {0, 0.063, 0},   {0, 0.062, 0},  {0.2, 0.3, 0},    {0, 0.291, 0},   {0.05, 0.3, 0},
    {0, 0.165, 0},   {0.1, 0.3, 0},  {0.75, 0.047, 0}, {0.1, 0.3, 0},   {0.65, 0.3, 0},
    {0.15, 0.3, 0},  {0.5, 0, 0},    {0.15, 0.3, 0},   {0.15, 0.3, 0},  {0.1, 0, 0},
    {0.15, 0, 0},    {0.1, 0, 0},    {0.05, 0, 0},     {0.6, 0, 0},     {0.2, 0.047, 0},
    {0.1, 0, 0},     {0.1, 0.19, 0}, {0.1, 0, 0},      {0, 0, 0},       {0.1, 0, 0},
    {0, 0.199, 0},   {0, 0.188, 0},  {0, 0.225, 0},    {0, 0.181, 0},   {0, 0.212, 0},
    {0.25, 0.3, 0},  {0.2, 0, 0},    {0.1, 0.3, 0},    {0.05, 0.3, 0},  {0.25, 0.047, 0},
    {0.2, 0.047, 0}, {0, 0.3, 0},    {0, 0.006, 0},    {0.1, 0.047, 0}, {0.1, 0.3, 0},
    {0, 0.3, 0},     {0, 0.247, 0},  {0, 0.28, 0},     {0, 0, 0},       {0, 0, 0},
    {0, 0.047, 0},   {0, 0, 0},
};

} // namespace

const Patch* DrumPatch(int key) {
    static const std::array<Patch, kLastKey - kFirstKey + 1> kKit = [] {
        std::array<Patch, kLastKey - kFirstKey + 1> kit;
        for (int k = kFirstKey; k <= kLastKey; ++k) {
            kit[size_t(k - kFirstKey)] = Key(k);
            Patch& p = kit[size_t(k - kFirstKey)];
            p.Gain *= DbToGain(kDrumLevelDb[k - kFirstKey]);
            const Room& room = kDrumRoom[k - kFirstKey];
            p.Width = room.Width, p.ReverbSend = room.Reverb, p.ChorusSend = room.Chorus;
        }
        return kit;
    }();
    if (key < kFirstKey || key > kLastKey) return nullptr;
    return &kKit[size_t(key - kFirstKey)];
}

} // namespace synth
