#include "Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <numeric>

namespace {

// Zero crossings of the sinc on each side, counted at the lower rate. With the Kaiser window
// below they give a stop band below -70 dB and a pass band flat to 0.9 of the lower Nyquist
// frequency (19.8 kHz at 44.1 kHz).
constexpr int kHalfTaps = 24;
constexpr double kKaiserBeta = 7.0;
constexpr double kCutoff = 0.485; // of the lower rate: just below its Nyquist frequency
constexpr size_t kReadFrames = 1024;

// Eight floats: one AVX register, or two SSE registers where AVX is missing. Either way the
// same multiplications and additions in the same order (no fused multiply-add), so every
// machine renders the same samples.
typedef float Float8 __attribute__((vector_size(32)));
typedef float Float4 __attribute__((vector_size(16)));

// One output frame: the coefficients (each twice) against interleaved stereo input, `width`
// floats, a multiple of 8. Four sums, so that additions do not wait on each other.
[[gnu::always_inline]] inline void DotStereo(const float* k, const float* x, size_t width,
                                             float* out) {
    const auto multiplyAdd = [](Float8& sum, const float* k8, const float* x8) {
        Float8 coefficients, input;
        std::memcpy(&coefficients, k8, sizeof coefficients);
        std::memcpy(&input, x8, sizeof input);
        sum += coefficients * input;
    };
    Float8 a = {}, b = {}, c = {}, d = {};
    size_t j = 0;
    for (; j + 32 <= width; j += 32) {
        multiplyAdd(a, k + j, x + j);
        multiplyAdd(b, k + j + 8, x + j + 8);
        multiplyAdd(c, k + j + 16, x + j + 16);
        multiplyAdd(d, k + j + 24, x + j + 24);
    }
    for (; j < width; j += 8)
        multiplyAdd(a, k + j, x + j);
    // Lanes alternate left and right: fold the halves, then the pairs.
    const Float8 sum = (a + b) + (c + d);
    const Float4 half =
        Float4{sum[0], sum[1], sum[2], sum[3]} + Float4{sum[4], sum[5], sum[6], sum[7]};
    out[0] = half[0] + half[2];
    out[1] = half[1] + half[3];
}

// The filter and the input it runs over.
struct FilterPass {
    const float* Table; // rows of Width floats
    size_t Width;       // two floats a tap
    int64_t Half;       // taps on each side of an output's time
    const float* Input; // buffered stereo frames; Input[0] is input frame InputStart
    int64_t InputStart, InputEnd;
    int64_t Up, StepFrames, StepPhase;
};

// Renders up to `frames` output frames from the time (frame, phase) on, for as long as their
// input is buffered; returns how many, with the time moved past them. Built twice, for AVX and
// for any x86-64, and chosen when the program starts.
#if defined(__x86_64__)
__attribute__((target_clones("avx", "default")))
#endif
size_t
RunFilter(const FilterPass& p, int64_t& frame, int64_t& phase, float* out, size_t frames) {
    size_t done = 0;
    for (; done < frames && frame + p.Half < p.InputEnd; ++done) {
        const int64_t row =
            p.Up <= Resampler::kMaxPhases ? phase : phase * Resampler::kMaxPhases / p.Up;
        DotStereo(p.Table + size_t(row) * p.Width,
                  p.Input + 2 * (frame - p.Half + 1 - p.InputStart), p.Width, out + 2 * done);
        // The next output's time, without a division per frame.
        frame += p.StepFrames;
        phase += p.StepPhase;
        if (phase >= p.Up) {
            phase -= p.Up;
            ++frame;
        }
    }
    return done;
}

// Zeroth-order modified Bessel function of the first kind, by its power series.
double BesselI0(double x) {
    double sum = 1, term = 1;
    for (int k = 1; term > 1e-12 * sum; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

// Windowed sinc at `t` input frames from the output time; `halfWidth` is the window's reach.
double Kernel(double t, double cutoff, double halfWidth) {
    static const double windowScale = 1 / BesselI0(kKaiserBeta);
    const double x = t / halfWidth;
    if (x <= -1 || x >= 1) return 0;
    const double arg = 2 * cutoff * t;
    const double sinc = arg == 0 ? 1 : std::sin(std::numbers::pi * arg) / (std::numbers::pi * arg);
    return 2 * cutoff * sinc * BesselI0(kKaiserBeta * std::sqrt(1 - x * x)) * windowScale;
}

} // namespace

Resampler::Resampler(std::unique_ptr<AudioSource> input, int inputRate, int outputRate)
    : input_(std::move(input)) {
    const int64_t common = std::gcd(inputRate, outputRate);
    up_ = outputRate / common;
    down_ = inputRate / common;
    stepFrames_ = down_ / up_;
    stepPhase_ = down_ % up_;
    tablePhases_ = std::min<int64_t>(up_, kMaxPhases);
    // Going down, the filter must cut at the output's band edge, so it reaches further back.
    const double scale = std::min(1.0, double(outputRate) / inputRate);
    const double cutoff = kCutoff * scale;
    taps_ = (size_t(std::ceil(2 * kHalfTaps / scale)) + 3) / 4 * 4;
    const double half = double(taps_) / 2;

    // Row r serves outputs a fraction r / tablePhases_ past an input frame; tap j weighs
    // input frame (frame - taps/2 + 1 + j). Each row sums to exactly 1, so a constant passes
    // unchanged whatever the phase.
    table_.resize(size_t(tablePhases_) * 2 * taps_);
    for (int64_t r = 0; r < tablePhases_; ++r) {
        std::vector<double> row(taps_);
        const double fraction = double(r) / double(tablePhases_);
        for (size_t j = 0; j < taps_; ++j)
            row[j] = Kernel(half - 1 - double(j) + fraction, cutoff, half);
        const double sum = std::accumulate(row.begin(), row.end(), 0.0);
        float* out = &table_[size_t(r) * 2 * taps_];
        for (size_t j = 0; j < taps_; ++j)
            out[2 * j] = out[2 * j + 1] = float(row[j] / sum);
    }
    // Before the first input frame the signal is silence.
    buffer_.assign(2 * (taps_ + kReadFrames), 0.0f);
    bufferStart_ = -int64_t(taps_ / 2 - 1);
    bufferFrames_ = taps_ / 2 - 1;
}

void Resampler::Refill() {
    // Keep from the first frame the next output needs; read after it.
    const int64_t first = frame_ - int64_t(taps_ / 2) + 1;
    const size_t drop = size_t(first - bufferStart_);
    std::copy(buffer_.begin() + 2 * drop, buffer_.begin() + 2 * bufferFrames_, buffer_.begin());
    bufferStart_ = first;
    bufferFrames_ -= drop;
    const size_t room = buffer_.size() / 2 - bufferFrames_;
    float* free = buffer_.data() + 2 * bufferFrames_;
    size_t got = 0;
    if (!inputEnded_) {
        got = input_->Render(free, room);
        inputFrames_ += int64_t(got);
        inputEnded_ = got < room;
        if (inputEnded_) outputTotal_ = (inputFrames_ * up_ + down_ - 1) / down_;
    }
    // After the last input frame the signal is silence too.
    std::fill(free + 2 * got, free + 2 * room, 0.0f);
    bufferFrames_ += room;
}

size_t Resampler::Render(float* out, size_t frames) {
    size_t done = 0;
    while (done < frames && outputFrames_ < outputTotal_) {
        const FilterPass pass{table_.data(),
                              2 * taps_,
                              int64_t(taps_ / 2),
                              buffer_.data(),
                              bufferStart_,
                              bufferStart_ + int64_t(bufferFrames_),
                              up_,
                              stepFrames_,
                              stepPhase_};
        const size_t want =
            size_t(std::min<int64_t>(int64_t(frames - done), outputTotal_ - outputFrames_));
        const size_t got = RunFilter(pass, frame_, phase_, out + 2 * done, want);
        done += got;
        outputFrames_ += int64_t(got);
        if (got < want) Refill();
    }
    return done;
}
