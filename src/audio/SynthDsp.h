// The synthesizer's small signal-processing parts: noise, a fast sine, band-limited
// oscillators, the state-variable filter and envelopes. Envelopes run at the control rate
// (one step every kControlFrames samples) and the voice ramps linearly between steps.
#pragma once

#include "SynthMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace synth {

inline constexpr int kControlFrames = 32;

// Deterministic white noise in [-1, 1): xorshift32 from a fixed seed, never the clock.
class Noise {
  public:
    explicit Noise(uint32_t seed = 0x9E3779B9u) : state_(seed ? seed : 1) {}
    float Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return float(int32_t(state_)) * (1.0f / 2147483648.0f);
    }

  private:
    uint32_t state_;
};

// A 32-bit phase accumulator's position in cycles, -0.5 to 0.5.
inline float Cycles(uint32_t phase) {
    return float(int32_t(phase)) * (1.0f / 4294967296.0f);
}

// Phase increment of a 32-bit accumulator for `hz` at `rate`.
inline uint32_t PhaseStep(double hz, double rate) {
    const double cycles = std::fmod(std::max(hz, 0.0) / rate, 1.0);
    return uint32_t(cycles * 4294967296.0);
}

// The correction that removes most aliasing at a waveform's jump (polynomial band-limited step).
inline float PolyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

// Zavalishin's trapezoidal state-variable filter: stable while its cutoff moves.
class Svf {
  public:
    void Set(float hz, float q, float rate) {
        const float g = TanHalfCycles(std::clamp(hz, 10.0f, rate * 0.45f) / rate);
        k_ = 1.0f / q;
        a1_ = 1.0f / (1.0f + g * (g + k_));
        a2_ = g * a1_;
        a3_ = g * a2_;
    }
    void Reset() { ic1_ = ic2_ = 0; }
    // One sample in; low, band (peak gain 1) and high outputs.
    void Tick(float v0, float& low, float& band, float& high) {
        const float v3 = v0 - ic2_;
        const float v1 = a1_ * ic1_ + a2_ * v3;
        const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
        ic1_ = 2.0f * v1 - ic1_;
        ic2_ = 2.0f * v2 - ic2_;
        low = v2;
        band = k_ * v1;
        high = v0 - k_ * v1 - v2;
    }

  private:
    float k_ = 1, a1_ = 0, a2_ = 0, a3_ = 0, ic1_ = 0, ic2_ = 0;
};

// Times are in seconds; decays are the time to fall by 60 dB.
struct Adsr {
    float Attack = 0.002f; // linear rise to full level
    float Decay = 0;       // from full level to Sustain; 0 goes there at once
    float Sustain = 1;     // level held while the key is down
    float Fade = 0;        // the held level's fall; 0 holds it
    float Release = 0.2f;  // after the key is let go
};

class Envelope {
  public:
    // `decayScale` stretches the decay and fade (keyboard scaling); `rate` is samples a second.
    void Start(const Adsr& a, float decayScale, float rate);
    void Release() {
        if (stage_ != Stage::Done) stage_ = Stage::Release;
    }
    // Falls silent within a few milliseconds: voices that are stolen or cut.
    void Kill();
    // The level at the end of the next control period.
    float Step();
    float Level() const { return level_; }
    bool Done() const { return stage_ == Stage::Done; }
    bool Released() const { return stage_ == Stage::Release || stage_ == Stage::Done; }

  private:
    enum class Stage : uint8_t { Attack, Decay, Hold, Release, Done };
    Stage stage_ = Stage::Done;
    float period_ = 0, level_ = 0, attackStep_ = 1, decayCoef_ = 0, sustain_ = 1, fadeCoef_ = 1,
          releaseCoef_ = 0;
};

} // namespace synth
