#include "SynthDsp.h"

namespace synth {
namespace {

constexpr float kSilent = 1e-4f; // -80 dB: a voice this quiet has ended
constexpr float kKillSeconds = 0.01f;

// Per-control-period factor of a fall by 60 dB in `seconds`.
float FallCoef(float seconds, float period) {
    return seconds > 0 ? Exp(-6.9077553f * period / seconds) : 0.0f;
}

} // namespace

void Envelope::Start(const Adsr& a, float decayScale, float rate) {
    const float period = kControlFrames / rate;
    period_ = period;
    level_ = 0;
    attackStep_ = a.Attack > period ? period / a.Attack : 1.0f;
    decayCoef_ = FallCoef(a.Decay * decayScale, period);
    sustain_ = a.Sustain;
    fadeCoef_ = a.Fade > 0 ? FallCoef(a.Fade * decayScale, period) : 1.0f;
    releaseCoef_ = FallCoef(std::max(a.Release, kKillSeconds), period);
    stage_ = Stage::Attack;
}

void Envelope::Kill() {
    if (stage_ == Stage::Done) return;
    releaseCoef_ = std::min(releaseCoef_, FallCoef(kKillSeconds, period_));
    stage_ = Stage::Release;
}

float Envelope::Step() {
    switch (stage_) {
    case Stage::Attack:
        level_ += attackStep_;
        if (level_ >= 1.0f) {
            level_ = 1.0f;
            stage_ = Stage::Decay;
        }
        break;
    case Stage::Decay:
        level_ = sustain_ + (level_ - sustain_) * decayCoef_;
        if (level_ - sustain_ < kSilent) {
            level_ = sustain_;
            stage_ = Stage::Hold;
        }
        break;
    case Stage::Hold:
        level_ *= fadeCoef_;
        if (level_ < kSilent) stage_ = Stage::Done;
        break;
    case Stage::Release:
        level_ *= releaseCoef_;
        if (level_ < kSilent) stage_ = Stage::Done;
        break;
    case Stage::Done:
        break;
    }
    if (stage_ == Stage::Done) level_ = 0;
    return level_;
}

} // namespace synth
