#include "Reverb.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace synth {
namespace {

// Delay lengths in samples at 44.1 kHz; the right side's are a little longer, for width. The
// shortest stays longer than a block down to 8 kHz.
constexpr int kCombLengths[] = {1116, 1188, 1277, 1356, 1422, 1491};
constexpr int kAllPassLengths[] = {556, 441};
constexpr int kStereoSpread = 23;
constexpr float kFeedback = 0.80f, kDamping = 0.3f, kAllPassFeedback = 0.5f;
constexpr float kInputGain = 0.02f;
constexpr float kQuietLevel = 1e-6f;

} // namespace

void Reverb::Delay::Read(float* out, int count) const {
    const size_t first = std::min(size_t(count), buffer_.size() - pos_);
    std::memcpy(out, buffer_.data() + pos_, first * sizeof(float));
    std::memcpy(out + first, buffer_.data(), (size_t(count) - first) * sizeof(float));
}

void Reverb::Delay::Write(const float* in, int count) {
    const size_t first = std::min(size_t(count), buffer_.size() - pos_);
    std::memcpy(buffer_.data() + pos_, in, first * sizeof(float));
    std::memcpy(buffer_.data(), in + first, (size_t(count) - first) * sizeof(float));
    pos_ = (pos_ + size_t(count)) % buffer_.size();
}

Reverb::Reverb(float rate) {
    const float scale = rate / 44100.0f;
    for (int side = 0; side < 2; ++side) {
        const int spread = side * kStereoSpread;
        for (int length : kCombLengths)
            combs_[side].push_back({Delay(size_t(float(length + spread) * scale)), 0});
        for (int length : kAllPassLengths)
            allPasses_[side].emplace_back(size_t(float(length + spread) * scale));
    }
    // After the longest comb's ring has fallen by 80 dB without input the room is silent.
    quietAfter_ = long(float(kCombLengths[5] + kStereoSpread) * scale * std::log(1e-4f) /
                       std::log(kFeedback));
    quietFrames_ = quietAfter_ + 1;
}

void Reverb::Process(const float* send, float* left, float* right, int frames) {
    bool fed = false;
    for (int i = 0; i < frames; ++i)
        fed = fed || std::fabs(send[i]) > kQuietLevel;
    quietFrames_ = fed ? 0 : quietFrames_ + frames;
    if (Quiet()) return;

    float in[kMaxBlock], sum[kMaxBlock], next[kMaxBlock], delayed[kMaxBlock + 1];
    for (int i = 0; i < frames; ++i)
        in[i] = send[i] * kInputGain;
    float* outputs[2] = {left, right};
    for (int side = 0; side < 2; ++side) {
        std::fill_n(sum, frames, 0.0f);
        for (Comb& c : combs_[side]) {
            delayed[0] = c.LastOut;
            c.Line.Read(delayed + 1, frames);
            for (int i = 0; i < frames; ++i) {
                const float damped = delayed[i + 1] * (1.0f - kDamping) + delayed[i] * kDamping;
                next[i] = in[i] + damped * kFeedback;
                sum[i] += delayed[i + 1];
            }
            c.Line.Write(next, frames);
            c.LastOut = delayed[frames];
        }
        for (Delay& a : allPasses_[side]) {
            a.Read(delayed, frames);
            for (int i = 0; i < frames; ++i) {
                next[i] = sum[i] + delayed[i] * kAllPassFeedback;
                sum[i] = delayed[i] - sum[i];
            }
            a.Write(next, frames);
        }
        for (int i = 0; i < frames; ++i)
            outputs[side][i] += sum[i];
    }
}

} // namespace synth
