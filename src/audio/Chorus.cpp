#include "Chorus.h"

#include "SynthMath.h"

#include <cmath>

namespace synth {
namespace {

constexpr float kBaseSeconds = 0.006f, kDepthSeconds = 0.008f;
constexpr float kLfoHz = 0.3f;
constexpr int kTaps = 3;
// Left and right gains of the three copies: one to each side and one to both, the right in
// opposite phase, so that much chorus turns the sides against each other, as General MIDI
// players do.
constexpr float kTapLeft[kTaps] = {0.6f, 0.5f, 0.3f}, kTapRight[kTaps] = {-0.3f, -0.5f, -0.6f};
constexpr float kLevel = 7.0f;
constexpr float kQuietLevel = 1e-6f;

} // namespace

Chorus::Chorus(float rate) : rate_(rate) {
    uint32_t length = 1;
    while (float(length) < (kBaseSeconds + kDepthSeconds) * rate + 4)
        length <<= 1;
    length_ = length;
    line_.assign(length, 0.0f);
    lfoStep_ = kLfoHz / rate;
    quietFrames_ = long(length) + 1;
}

void Chorus::Process(const float* send, float* left, float* right, int frames) {
    bool fed = false;
    for (int i = 0; i < frames; ++i)
        fed = fed || std::fabs(send[i]) > kQuietLevel;
    quietFrames_ = fed ? 0 : quietFrames_ + frames;
    if (Quiet()) return;
    const uint32_t mask = length_ - 1;
    // The delays swing slowly: worked out for the block's start and end, ramped between.
    const auto delayAt = [&](float phase, int t) {
        const float swing = 0.5f + 0.5f * SinCycles(phase + float(t) / kTaps);
        return (kBaseSeconds + kDepthSeconds * swing) * rate_;
    };
    float first[kTaps], slope[kTaps];
    for (int t = 0; t < kTaps; ++t) {
        first[t] = delayAt(lfoPhase_, t);
        slope[t] = (delayAt(lfoPhase_ + lfoStep_ * float(frames), t) - first[t]) / float(frames);
    }
    for (int i = 0; i < frames; ++i) {
        line_[write_ & mask] = send[i] * kLevel;
        float l = 0, r = 0;
        for (int t = 0; t < kTaps; ++t) {
            const float delay = first[t] + float(i) * slope[t];
            const uint32_t whole = uint32_t(delay);
            const float fraction = delay - float(whole);
            const float a = line_[(write_ - whole) & mask], b = line_[(write_ - whole - 1) & mask];
            const float v = a + (b - a) * fraction;
            l += v * kTapLeft[t];
            r += v * kTapRight[t];
        }
        left[i] += l;
        right[i] += r;
        ++write_;
    }
    lfoPhase_ += lfoStep_ * float(frames);
    if (lfoPhase_ >= 1.0f) lfoPhase_ -= 1.0f;
}

} // namespace synth
