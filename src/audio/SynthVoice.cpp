#include "SynthVoice.h"

namespace synth {
namespace {

constexpr float kMiddleCHz = 261.6256f;
// The 808's six square waves under its hi-hats and cymbals, as ratios of the lowest.
constexpr float kMetalRatios[6] = {1.0f, 1.483f, 1.800f, 2.546f, 2.630f, 3.897f};
constexpr float kVibratoFadeSeconds = 0.4f;
// Partials this far below the spectrum's strongest are not heard next to it.
constexpr float kPartialFloorDb = -60.0f, kPartialFloor = 0.001f;

// The patch's level at `key`, blended between its level keys.
float KeyLevelDb(const Patch& p, int key) {
    constexpr auto& keys = Patch::kLevelKeys;
    if (key <= keys[0]) return p.KeyLevelDb[0];
    for (int i = 1; i < 5; ++i)
        if (key <= keys[i])
            return p.KeyLevelDb[i - 1] + (p.KeyLevelDb[i] - p.KeyLevelDb[i - 1]) *
                                             float(key - keys[i - 1]) /
                                             float(keys[i] - keys[i - 1]);
    return p.KeyLevelDb[4];
}

float KeyHz(int key) {
    return 440.0f * Exp2((float(key) - 69.0f) / 12.0f);
}

// Soft clipping: a rational approximation of tanh, flat beyond +-3.
float SoftClip(float x) {
    x = std::clamp(x, -3.0f, 3.0f);
    return x * (27.0f + x * x) / (27.0f + 9.0f * x * x);
}

float Frac(float t) {
    return t - std::floor(t);
}

// Whether operator k is heard (a carrier) rather than modulating another.
bool Heard(FmAlgo algo, int k) {
    switch (algo) {
    case FmAlgo::TwoPairs:
        return k == 0 || k == 2;
    case FmAlgo::PairPlus:
        return k != 1;
    case FmAlgo::Additive:
        return true;
    default:
        return k == 0;
    }
}

template <Wave W> float OscSample(float t, float dt, float width) {
    if constexpr (W == Wave::Sine) return SinCycles(t);
    if constexpr (W == Wave::Triangle) return 4.0f * std::fabs(t - 0.5f) - 1.0f;
    if constexpr (W == Wave::Saw) return 2.0f * t - 1.0f - PolyBlep(t, dt);
    if constexpr (W == Wave::Square || W == Wave::Pulse) {
        const float w = W == Wave::Square ? 0.5f : width;
        return (t < w ? 1.0f : -1.0f) + PolyBlep(t, dt) - PolyBlep(Frac(t + 1.0f - w), dt) -
               (2.0f * w - 1.0f);
    }
    return 0.0f;
}

template <Wave W>
void RunOsc(float& phase, float step, float width, float level, float* out, int count) {
    for (int i = 0; i < count; ++i) {
        out[i] += level * OscSample<W>(phase, step, width);
        phase += step;
        if (phase >= 1.0f) phase -= 1.0f;
    }
}

void AddOsc(Wave w, float& phase, float step, float width, float level, float* out, int count) {
    switch (w) {
    case Wave::Sine:
        return RunOsc<Wave::Sine>(phase, step, width, level, out, count);
    case Wave::Triangle:
        return RunOsc<Wave::Triangle>(phase, step, width, level, out, count);
    case Wave::Saw:
        return RunOsc<Wave::Saw>(phase, step, width, level, out, count);
    case Wave::Square:
        return RunOsc<Wave::Square>(phase, step, width, level, out, count);
    case Wave::Pulse:
        return RunOsc<Wave::Pulse>(phase, step, width, level, out, count);
    }
}

constexpr float kInvTwoPi = 0.159154943f;

// A linear ramp over a block, read from and written back to the voice's state, with local
// copies in between so that the compiler sees no aliasing and vectorizes the loops.
struct Ramp {
    Ramp(float& level, float delta) : State(level), Start(level), Delta(delta) {}
    float At(int i) const { return Start + float(i) * Delta; }
    void Advance(int count) { State = Start + float(count) * Delta; }
    float& State;
    const float Start, Delta;
};

// One FM operator over a block: the sine of its phase plus `modulation` (radians, or none),
// times its level, written or added into `out` (which may be `modulation` itself).
void OpPass(uint32_t& phase, uint32_t step, Ramp level, const float* modulation, float* out,
            bool add, int count) {
    float x[kControlFrames];
    uint32_t p = phase;
    for (int i = 0; i < count; ++i) {
        x[i] = Cycles(p);
        p += step;
    }
    phase = p;
    if (modulation)
        for (int i = 0; i < count; ++i)
            x[i] += modulation[i] * kInvTwoPi;
    if (add)
        for (int i = 0; i < count; ++i)
            out[i] += SinCycles(x[i]) * level.At(i);
    else
        for (int i = 0; i < count; ++i)
            out[i] = SinCycles(x[i]) * level.At(i);
    level.Advance(count);
}

// The same for an operator hearing its own last two outputs: one sample at a time.
void FeedbackPass(uint32_t& phase, uint32_t step, Ramp level, float feedback, float& last,
                  float& prev, float* out, int count) {
    for (int i = 0; i < count; ++i) {
        const float raw = SinCycles(Cycles(phase) + feedback * (last + prev) * (0.5f * kInvTwoPi));
        prev = last;
        last = raw;
        phase += step;
        out[i] = raw * level.At(i);
    }
    level.Advance(count);
}

template <Filter F> void RunFilter(Svf& svf, float* io, int count) {
    float low, band, high;
    for (int i = 0; i < count; ++i) {
        svf.Tick(io[i], low, band, high);
        io[i] = F == Filter::LowPass ? low : F == Filter::BandPass ? band : high;
    }
}

void ApplyFilter(Filter kind, Svf& svf, float* io, int count) {
    switch (kind) {
    case Filter::LowPass:
        return RunFilter<Filter::LowPass>(svf, io, count);
    case Filter::BandPass:
        return RunFilter<Filter::BandPass>(svf, io, count);
    case Filter::HighPass:
        return RunFilter<Filter::HighPass>(svf, io, count);
    case Filter::Off:
    case Filter::Vowel:
        return;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------
// Plucked string

void String::Excite(Noise& noise, float period, float softness) {
    const int length = std::clamp(int(period) + 2, 2, kSize - 1);
    std::vector<float> burst(static_cast<size_t>(length)), smoothed(burst.size());
    for (float& v : burst)
        v = noise.Next();
    // The burst is one period of what the string rings with, so it is smoothed as a loop (the
    // second time round keeps what the first warmed up), by two one-pole low-passes: a jump
    // where it wraps would click at the pitch and brighten every pluck alike.
    const float keep = Exp(-5.0f * std::max(softness, 0.0f));
    for (int stage = 0; stage < 2; ++stage) {
        float state = 0;
        for (int round = 0; round < 2; ++round)
            for (size_t i = 0; i < burst.size(); ++i)
                smoothed[i] = state += keep * (burst[i] - state);
        burst.swap(smoothed);
    }
    float mean = 0, peak = 1e-6f;
    for (float v : burst)
        mean += v;
    mean /= float(length);
    for (float& v : burst)
        peak = std::max(peak, std::fabs(v -= mean));
    std::fill(line_.begin(), line_.end(), 0.0f);
    write_ = 0;
    for (int i = 0; i < length; ++i)
        line_[size_t(kSize - length + i)] = burst[size_t(i)] / peak;
    lastIn_ = apIn_ = apOut_ = 0;
}

void String::Tune(float period, float secondsToSilence, float hz, float brightness) {
    smooth_ = 0.02f + 0.48f * (1.0f - brightness);
    const float loop = std::clamp(period - smooth_, 2.0f, float(kSize - 2));
    delay_ = int(loop - 0.5f);
    const float fraction = loop - float(delay_);
    allpass_ = (1.0f - fraction) / (1.0f + fraction);
    gain_ = DbToGain(-60.0f / (std::max(secondsToSilence, 0.01f) * hz));
}

void String::Run(float* out, int count) {
    constexpr uint32_t mask = kSize - 1;
    for (int i = 0; i < count; ++i) {
        const float x = line_[(write_ - uint32_t(delay_)) & mask];
        const float lp = (1.0f - smooth_) * x + smooth_ * lastIn_;
        lastIn_ = x;
        const float y = allpass_ * (lp - apOut_) + apIn_;
        apIn_ = lp;
        apOut_ = y;
        line_[write_ & mask] = y * gain_;
        ++write_;
        out[i] = x;
    }
}

// ---------------------------------------------------------------------------------------
// Voice

void Voice::Start(const Patch& patch, const ChannelMix& mix, int channel, int key, int velocity,
                  uint32_t seed) {
    patch_ = &patch;
    mix_ = &mix;
    channel_ = channel;
    key_ = key;
    active_ = true;
    killed_ = false;
    Sustained = false;
    const float vel = float(velocity) / 127.0f;
    // The square of the velocity, as General MIDI players follow it (40 log10 of it in dB).
    gain_ = patch.Gain * vel * vel * DbToGain(KeyLevelDb(patch, key));
    bright_ = 1.0f - patch.VelocityBright * (1.0f - vel);
    hz_ = patch.FixedHz > 0 ? patch.FixedHz : KeyHz(key);
    const float octavesUp = Log2(hz_ / kMiddleCHz);
    const float decayScale = Exp2(-patch.KeyDecay * octavesUp);

    amp_.Start(patch.Amp, decayScale, rate_);
    filterEnv_.Start(patch.FilterEnv, decayScale, rate_);
    noiseEnv_.Start(patch.NoiseEnv, 1.0f, rate_);
    for (int k = 0; k < 4; ++k) {
        opEnv_[k].Start(patch.Ops[k].Env, decayScale, rate_);
        // Modulators scale with velocity (soft notes are mellower); heard operators do not.
        opBase_[k] = patch.Ops[k].Level * (Heard(patch.Algo, k) ? 1.0f : bright_);
        opLevel_[k] = dOpLevel_[k] = 0;
        opRatio_[k] = patch.Ops[k].Ratio * Exp2(patch.Ops[k].Detune / 1200.0f);
    }
    countdown_ = 0;
    seconds_ = 0;
    pitchOffset_ = patch.PitchDrop;
    pitchCoef_ = Exp(-kControlFrames / (rate_ * std::max(patch.PitchSeconds, 1e-3f)));
    lfoPhase_ = 0.75f; // where a tremolo is at full level
    left_ = right_ = width_ = send_ = chorus_ = 0;
    dLeft_ = dRight_ = dWidth_ = dSend_ = dChorus_ = 0;
    noise_ = dNoise_ = 0;
    fbLast_ = fbPrev_ = 0;

    if (patch.Kind == Tone::Partials) StartPartials(vel, decayScale);

    noiseGen_ = Noise(seed);
    // The metal cluster's squares start spread out, the rest from zero.
    for (int k = 0; k < 6; ++k)
        phase_[k] = patch.Kind == Tone::Metal ? uint32_t(k) * 0x28F5C28Fu : 0;
    oscPhase_[0] = 0;
    oscPhase_[1] = 0.5f + 0.5f * noiseGen_.Next();

    cutoffBase_ =
        patch.CutoffHz * Pow(hz_ / kMiddleCHz, patch.KeyTrack) * Exp2(2.0f * (bright_ - 1.0f));
    filter_.Reset();
    formant2_.Reset();
    formant2_.Set(patch.Formant2Hz, patch.Q, rate_);
    noiseFilter_.Reset();
    noiseFilter_.Set(patch.NoiseHz * Pow(hz_ / kMiddleCHz, patch.NoiseKeyTrack), patch.NoiseQ,
                     rate_);
    noiseFilter2_ = noiseFilter_;
    stringSeconds_ = patch.PluckSeconds * decayScale;
    if (patch.Kind == Tone::Pluck) {
        // A string cannot be longer than its delay line: very low notes sound an octave up.
        float period = rate_ / hz_;
        while (period > 4000.0f)
            period *= 0.5f;
        string_.Excite(noiseGen_, period, patch.PluckSoft * (1.2f - 0.4f * vel));
    }
}

void Voice::Control() {
    // The last period ramped the envelope's end down to zero: the note is over.
    if (amp_.Done()) {
        active_ = false;
        return;
    }
    const Patch& p = *patch_;
    const float period = kControlFrames / rate_;
    seconds_ += period;

    lfoPhase_ = Frac(lfoPhase_ + p.LfoHz * period);
    const float lfo = SinCycles(lfoPhase_);
    const float vibratoIn = std::clamp((seconds_ - p.LfoDelay) / kVibratoFadeSeconds, 0.0f, 1.0f);
    const float cents = (p.VibratoCents * vibratoIn + mix_->VibratoCents) * lfo;

    pitchOffset_ *= pitchCoef_;
    const float hz = hz_ * Exp2((mix_->BendSemitones + pitchOffset_ + cents / 100.0f) / 12.0f);

    switch (p.Kind) {
    case Tone::Fm:
        for (int k = 0; k < 4; ++k) {
            step_[k] = PhaseStep(hz * opRatio_[k], rate_);
            dOpLevel_[k] = (opBase_[k] * opEnv_[k].Step() - opLevel_[k]) / kControlFrames;
        }
        break;
    case Tone::Waves:
        oscStep_[0] = std::min(hz / rate_, 0.45f);
        oscStep_[1] =
            std::min(hz * Exp2((p.Osc2Semitones + p.Osc2Cents / 100.0f) / 12.0f) / rate_, 0.45f);
        break;
    case Tone::Pluck: {
        float period = rate_ / hz;
        float tuneHz = hz;
        while (period > 4000.0f)
            period *= 0.5f, tuneHz *= 2.0f;
        string_.Tune(period, stringSeconds_, tuneHz, p.PluckBright);
        // A held string that has rung down 80 dB ends its note, before its samples decay
        // into denormal numbers that slow the processor down.
        if (seconds_ > 1.35f * stringSeconds_) amp_.Kill();
        break;
    }
    case Tone::Metal:
        for (int k = 0; k < 6; ++k)
            step_[k] = PhaseStep(hz * kMetalRatios[k], rate_);
        break;
    case Tone::Partials:
        ControlPartials(hz);
        break;
    case Tone::None:
        break;
    }

    if (p.FilterKind != Filter::Off) {
        const float octaves = p.EnvOctaves * filterEnv_.Step() + p.LfoOctaves * lfo;
        filter_.Set(cutoffBase_ * Exp2(octaves), p.Q, rate_);
    }
    if (p.NoiseLevel > 0) dNoise_ = (p.NoiseLevel * noiseEnv_.Step() - noise_) / kControlFrames;

    const float level = amp_.Step() * (1.0f - p.Tremolo * (0.5f + 0.5f * lfo));
    const float pan = std::clamp(mix_->Pan + p.Pan, -1.0f, 1.0f);
    const float angle = (pan + 1.0f) * 0.125f;
    const float g = level * gain_ * mix_->Gain;
    // The width send takes its share of the sound's power from the two sides.
    const float spread = g / std::sqrt(1.0f + p.Width * p.Width);
    const float l = spread * CosCycles(angle), r = spread * SinCycles(angle);
    dLeft_ = (l - left_) / kControlFrames;
    dRight_ = (r - right_) / kControlFrames;
    dWidth_ = (p.Width * std::min(l, r) - width_) / kControlFrames;
    dSend_ = (g * (mix_->ReverbSend + p.ReverbSend) - send_) / kControlFrames;
    dChorus_ = (g * (mix_->ChorusSend + p.ChorusSend) - chorus_) / kControlFrames;
}

void Voice::RenderFm(float* out, int count) {
    float mod[kControlFrames];
    const auto op = [&](int k, const float* modulation, float* dst, bool add) {
        if (add && opLevel_[k] == 0 && dOpLevel_[k] == 0)
            return; // an operator the patch leaves out
        OpPass(phase_[k], step_[k], Ramp(opLevel_[k], dOpLevel_[k]), modulation, dst, add, count);
    };
    const auto top = [&](int k, float* dst) {
        if (patch_->Feedback == 0) return op(k, nullptr, dst, false);
        FeedbackPass(phase_[k], step_[k], Ramp(opLevel_[k], dOpLevel_[k]), patch_->Feedback,
                     fbLast_, fbPrev_, dst, count);
    };
    switch (patch_->Algo) {
    case FmAlgo::Stack2:
        top(1, mod);
        return op(0, mod, out, false);
    case FmAlgo::Stack3:
        top(2, mod);
        op(1, mod, mod, false);
        return op(0, mod, out, false);
    case FmAlgo::TwoPairs:
        op(1, nullptr, mod, false);
        op(0, mod, out, false);
        top(3, mod);
        return op(2, mod, out, true);
    case FmAlgo::Branch:
        top(3, mod);
        op(2, nullptr, mod, true);
        op(1, nullptr, mod, true);
        return op(0, mod, out, false);
    case FmAlgo::PairPlus:
        top(1, mod);
        op(0, mod, out, false);
        op(2, nullptr, out, true);
        return op(3, nullptr, out, true);
    case FmAlgo::Additive:
        op(0, nullptr, out, false);
        for (int k = 1; k < 4; ++k)
            op(k, nullptr, out, true);
        return;
    }
}

void Voice::StartPartials(float vel, float decayScale) {
    const Spectrum& s = patch_->Partials;
    // The two nearest of the spectrum's keys, blended.
    const float at = std::clamp((float(key_) - float(Spectrum::kKeys[0])) / 12.0f, 0.0f, 2.0f);
    const int lower = std::min(int(at), 1);
    const float blend = at - float(lower);
    const float stiffness = s.Inharmonicity * hz_ / kMiddleCHz;
    const float tilt = s.VelocityTiltDb * (vel * 1.27f - 1.0f);
    const float period = kControlFrames / rate_;
    harmonic_ = stiffness == 0;
    partials_ = 0;
    float plain = 0, tilted = 0; // the partials' power without and with the velocity's tilt
    for (int n = 0; n < kPartials; ++n) {
        const float number = float(n + 1);
        float ratio = s.Base * number;
        if (!harmonic_) ratio *= std::sqrt(1.0f + stiffness * number * number);
        partialRatio_[n] = ratio;
        const float a = s.LevelDb[lower][n], b = s.LevelDb[lower + 1][n];
        float db = a + blend * (b - a);
        if (s.RolloffHz > 0 && ratio * hz_ > s.RolloffHz)
            db -= 24.0f * Log2(ratio * hz_ / s.RolloffHz);
        const bool heard = db > kPartialFloorDb && ratio * hz_ < 0.45f * rate_;
        const float level = heard ? DbToGain(db) : 0.0f;
        partialBase_[n] = level * DbToGain(tilt * Log2(number));
        plain += level * level;
        tilted += partialBase_[n] * partialBase_[n];
        partialFall_[n] = s.FadeSeconds > 0 && n > 0
                              ? Exp(-6.9077553f * period * float(n) / (s.FadeSeconds * decayScale))
                              : 1.0f;
        partialFade_[n] = 1;
        partialLevel_[n] = dPartial_[n] = 0;
        partialPhase_[n] = 0;
        if (heard) partials_ = n + 1;
    }
    const float keep = tilted > 0 ? std::sqrt(plain / tilted) : 1.0f;
    for (int n = 0; n < partials_; ++n)
        partialBase_[n] *= keep;
}

void Voice::ControlPartials(float hz) {
    if (harmonic_)
        partialStep_[0] = PhaseStep(hz * partialRatio_[0], rate_);
    else
        for (int n = 0; n < partials_; ++n)
            partialStep_[n] = PhaseStep(hz * partialRatio_[n], rate_);
    // Partials that have faded below the floor are left out, and leave the end of the list.
    int sounding = 0;
    for (int n = 0; n < partials_; ++n) {
        partialFade_[n] *= partialFall_[n];
        float target = partialBase_[n] * partialFade_[n];
        if (target < kPartialFloor) target = partialFade_[n] = 0;
        dPartial_[n] = (target - partialLevel_[n]) / kControlFrames;
        if (target > 0 || partialLevel_[n] > 0) sounding = n + 1;
    }
    partials_ = sounding;
}

void Voice::RenderPartials(float* out, int count) {
    std::fill(out, out + count, 0.0f);
    if (!harmonic_) return RenderStretched(out, count);
    // Whole multiples of one phase: sin((n + 1) x) = 2 cos x sin(n x) - sin((n - 1) x), two
    // operations a partial instead of a sine each.
    float previous[kControlFrames], current[kControlFrames], twoCos[kControlFrames];
    uint32_t p = partialPhase_[0];
    for (int i = 0; i < count; ++i) {
        const float x = Cycles(p);
        previous[i] = 0;
        current[i] = SinCycles(x);
        twoCos[i] = 2.0f * CosCycles(x);
        p += partialStep_[0];
    }
    partialPhase_[0] = p;
    for (int n = 0; n < partials_; ++n) {
        Ramp level(partialLevel_[n], dPartial_[n]);
        if (level.Start != 0 || level.Delta != 0)
            for (int i = 0; i < count; ++i)
                out[i] += current[i] * level.At(i);
        level.Advance(count);
        for (int i = 0; i < count; ++i) {
            const float next = twoCos[i] * current[i] - previous[i];
            previous[i] = current[i];
            current[i] = next;
        }
    }
}

void Voice::RenderStretched(float* out, int count) {
    // Each partial a unit phasor turned by its step every sample, four partials side by side
    // (the compiler keeps them in one vector register); each block starts from the exact phase,
    // so no rounding builds up.
    constexpr int kLanes = 4;
    const int groups = (partials_ + kLanes - 1) / kLanes;
    alignas(16) float c[kPartials] = {}, s[kPartials] = {}, turnC[kPartials] = {},
                      turnS[kPartials] = {}, level[kPartials] = {}, slope[kPartials] = {};
    for (int n = 0; n < partials_; ++n) {
        const float x = Cycles(partialPhase_[n]), dx = Cycles(partialStep_[n]);
        c[n] = CosCycles(x), s[n] = SinCycles(x);
        turnC[n] = CosCycles(dx), turnS[n] = SinCycles(dx);
        level[n] = partialLevel_[n], slope[n] = dPartial_[n];
        partialPhase_[n] += partialStep_[n] * uint32_t(count);
        partialLevel_[n] += float(count) * dPartial_[n];
    }
    for (int i = 0; i < count; ++i) {
        float sum[kLanes] = {};
        for (int g = 0; g < groups; ++g)
            for (int j = 0; j < kLanes; ++j) {
                const int n = g * kLanes + j;
                sum[j] += s[n] * (level[n] + float(i) * slope[n]);
                const float nc = c[n] * turnC[n] - s[n] * turnS[n];
                s[n] = c[n] * turnS[n] + s[n] * turnC[n];
                c[n] = nc;
            }
        out[i] = (sum[0] + sum[1]) + (sum[2] + sum[3]);
    }
}

void Voice::RenderTone(float* out, int count) {
    const Patch& p = *patch_;
    switch (p.Kind) {
    case Tone::Fm:
        return RenderFm(out, count);
    case Tone::Waves:
        std::fill(out, out + count, 0.0f);
        AddOsc(p.Osc1, oscPhase_[0], oscStep_[0], p.PulseWidth, 1.0f, out, count);
        if (p.Osc2Level > 0)
            AddOsc(p.Osc2, oscPhase_[1], oscStep_[1], p.PulseWidth, p.Osc2Level, out, count);
        return;
    case Tone::Pluck:
        return string_.Run(out, count);
    case Tone::Partials:
        return RenderPartials(out, count);
    case Tone::Metal:
        for (int i = 0; i < count; ++i) {
            float sum = 0;
            for (int k = 0; k < 6; ++k) {
                sum += (phase_[k] >> 31) ? -1.0f : 1.0f;
                phase_[k] += step_[k];
            }
            out[i] = sum * (1.0f / 3.0f);
        }
        return;
    case Tone::None:
        std::fill(out, out + count, 0.0f);
        return;
    }
}

void Voice::FilterTone(float* io, int count) {
    if (patch_->FilterKind != Filter::Vowel)
        return ApplyFilter(patch_->FilterKind, filter_, io, count);
    float low, band1, band2, high;
    for (int i = 0; i < count; ++i) {
        const float x = io[i];
        filter_.Tick(x, low, band1, high);
        formant2_.Tick(x, low, band2, high);
        io[i] = band1 + 0.6f * band2;
    }
}

void Voice::AddNoise(float* io, int count) {
    float buffer[kControlFrames];
    for (int i = 0; i < count; ++i)
        buffer[i] = noiseGen_.Next();
    // Twice through the filter: 12 dB an octave outside the band, so that breath around the
    // pitch does not hiss over the whole spectrum.
    ApplyFilter(patch_->NoiseFilter, noiseFilter_, buffer, count);
    ApplyFilter(patch_->NoiseFilter, noiseFilter2_, buffer, count);
    Ramp level(noise_, dNoise_);
    for (int i = 0; i < count; ++i)
        io[i] += buffer[i] * level.At(i);
    level.Advance(count);
}

void Voice::Generate(float* out, int count) {
    RenderTone(out, count);
    FilterTone(out, count);
    if (noise_ != 0 || dNoise_ != 0) AddNoise(out, count);
    if (patch_->Drive > 0) {
        const float drive = 1.0f + patch_->Drive;
        const float makeUp = 1.0f / std::sqrt(drive);
        for (int i = 0; i < count; ++i)
            out[i] = SoftClip(out[i] * drive) * makeUp;
    }
}

void Voice::Render(const Outputs& out, int frames) {
    int done = 0;
    while (done < frames && active_) {
        if (countdown_ == 0) {
            Control();
            if (!active_) return;
            countdown_ = kControlFrames;
        }
        const int count = std::min(frames - done, countdown_);
        float buffer[kControlFrames];
        Generate(buffer, count);
        Ramp l(left_, dLeft_), r(right_, dRight_), w(width_, dWidth_), s(send_, dSend_),
            c(chorus_, dChorus_);
        float *left = out.Left + done, *right = out.Right + done, *width = out.Width + done,
              *reverb = out.Reverb + done, *chorus = out.Chorus + done;
        for (int i = 0; i < count; ++i) {
            left[i] += buffer[i] * l.At(i);
            right[i] += buffer[i] * r.At(i);
            width[i] += buffer[i] * w.At(i);
            reverb[i] += buffer[i] * s.At(i);
            chorus[i] += buffer[i] * c.At(i);
        }
        l.Advance(count), r.Advance(count), w.Advance(count), s.Advance(count), c.Advance(count);
        countdown_ -= count;
        done += count;
    }
}

} // namespace synth
