#include "Reverb.h"

#include "SynthMath.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

// Times in samples at 44.1 kHz, scaled to the rate. The reflections: first from the nearest
// walls, then sparser and softer, with alternating signs (some walls reflect in opposite
// phase to others at the listener's ears).
constexpr struct {
    int Delay;
    float Left, Right;
} kTaps[] = {
    {313, 0.80f, 0.25f},   {367, 0.20f, -0.75f}, {571, -0.60f, 0.35f}, {631, 0.30f, 0.62f},
    {877, 0.52f, -0.18f},  {953, -0.22f, 0.50f}, {1187, 0.42f, 0.16f}, {1291, 0.12f, -0.40f},
    {1553, -0.33f, 0.10f}, {1621, 0.09f, 0.30f},
};
constexpr int kTailDelay = 1300; // the diffuse tail builds up after the first reflections
constexpr int kDiffuserDelays[] = {557, 409, 281, 173};
constexpr float kDiffusion = 0.6f;
// Mutually prime, 14 to 29 ms: a small room's modes, dense enough not to ring.
constexpr int kLineDelays[Reverb::kLines] = {613, 691, 797, 883, 967, 1063, 1153, 1277};
constexpr float kSeconds = 0.9f;  // the tail's fall by 60 dB
constexpr float kDamping = 0.25f; // how much faster the highs fall
constexpr float kEarlyLevel = 0.28f, kTailLevel = 0.18f;
constexpr float kWidth = 0.5f; // 1: the two sides apart, 0: both alike
constexpr float kQuietLevel = 1e-7f;

// Which lines each side hears with which sign: two rows of an 8x8 Hadamard matrix, so the
// sides are uncorrelated.
constexpr float kLeftSigns[Reverb::kLines] = {1, -1, 1, -1, 1, -1, 1, -1};
constexpr float kRightSigns[Reverb::kLines] = {1, 1, -1, -1, 1, 1, -1, -1};

uint32_t Scaled(int samples, float rate) {
    return uint32_t(std::max(1.0f, float(samples) * rate / 44100.0f));
}

// The 8-point Walsh-Hadamard transform in place, scaled to keep the energy.
void Hadamard(float* v) {
    for (int half = 1; half < Reverb::kLines; half <<= 1)
        for (int i = 0; i < Reverb::kLines; i += 2 * half)
            for (int j = i; j < i + half; ++j) {
                const float a = v[j], b = v[j + half];
                v[j] = a + b;
                v[j + half] = a - b;
            }
    for (int i = 0; i < Reverb::kLines; ++i)
        v[i] *= 0.35355339f; // 1 / sqrt(8)
}

} // namespace

Reverb::Line::Line(size_t atLeast) {
    size_t size = 1;
    while (size < atLeast + 1)
        size <<= 1;
    buffer_.assign(size, 0.0f);
    mask_ = uint32_t(size - 1);
}

Reverb::Reverb(float rate) : early_(Scaled(kTaps[9].Delay, rate) + 1) {
    for (const auto& t : kTaps)
        taps_.push_back({Scaled(t.Delay, rate), t.Left, t.Right});
    tailDelay_ = Scaled(kTailDelay, rate);
    for (int d : kDiffuserDelays)
        diffusers_.push_back({Line(Scaled(d, rate)), Scaled(d, rate)});
    uint32_t longest = 0;
    for (int i = 0; i < kLines; ++i) {
        lineDelay_[i] = Scaled(kLineDelays[i], rate);
        lines_.emplace_back(lineDelay_[i]);
        // Each pass through a line loses its share of the 60 dB fall.
        lineGain_[i] = Exp2(-9.9657843f * float(lineDelay_[i]) / (kSeconds * rate));
        longest = std::max(longest, lineDelay_[i]);
    }
    damping_ = kDamping * std::min(1.0f, 44100.0f / rate);
    // Silent once nothing has fed it, and nothing audible come out, for a reflection's delay
    // and a turn through the longest line.
    quietAfter_ = long(taps_.back().Delay + longest);
    quietFrames_ = quietAfter_ + 1;
}

float Reverb::Diffuse(float x) {
    for (Diffuser& d : diffusers_) {
        const float delayed = d.Buffer.Read(d.Delay);
        const float v = x + kDiffusion * delayed;
        d.Buffer.Write(v);
        x = delayed - kDiffusion * v;
    }
    return x;
}

void Reverb::Process(const float* send, float* left, float* right, int frames) {
    bool fed = false;
    for (int i = 0; i < frames; ++i)
        fed = fed || std::fabs(send[i]) > kQuietLevel;
    if (fed) quietFrames_ = 0;
    if (Quiet()) return;
    const float same = 0.5f * (1.0f + kWidth), cross = 0.5f * (1.0f - kWidth);
    float loudest = 0;
    for (int i = 0; i < frames; ++i) {
        early_.Write(send[i]);
        float l = 0, r = 0;
        for (const Tap& t : taps_) {
            const float v = early_.Read(t.Delay);
            l += v * t.Left;
            r += v * t.Right;
        }
        l *= kEarlyLevel, r *= kEarlyLevel;

        const float in = Diffuse(early_.Read(tailDelay_));
        float v[kLines];
        for (int k = 0; k < kLines; ++k) {
            const float out = lines_[size_t(k)].Read(lineDelay_[k]);
            damped_[k] = out + damping_ * (damped_[k] - out);
            v[k] = damped_[k] * lineGain_[k];
            l += out * kLeftSigns[k] * kTailLevel;
            r += out * kRightSigns[k] * kTailLevel;
        }
        Hadamard(v);
        for (int k = 0; k < kLines; ++k)
            lines_[size_t(k)].Write(v[k] + (k % 2 ? -in : in));
        left[i] += same * l + cross * r;
        right[i] += same * r + cross * l;
        loudest = std::max(loudest, std::max(std::fabs(l), std::fabs(r)));
    }
    quietFrames_ = fed || loudest > kQuietLevel ? 0 : quietFrames_ + frames;
}

} // namespace synth
