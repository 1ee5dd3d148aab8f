#include "SoundMeasures.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace measure {
namespace {

constexpr double kPi = std::numbers::pi;

double Db(double power) {
    return 10 * std::log10(power + 1e-30);
}

// In-place radix-2 FFT; the size is a power of two.
void Fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2 * kPi / double(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> wk = 1;
            for (size_t k = 0; k < len / 2; ++k, wk *= w) {
                const auto u = a[i + k], v = a[i + k + len / 2] * wk;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

// Power spectrum of `x` under a Hann window, zero-padded to `size` (a power of two).
std::vector<double> PowerSpectrum(std::span<const float> x, size_t size) {
    std::vector<std::complex<double>> a(size);
    const size_t n = std::min(x.size(), size);
    for (size_t i = 0; i < n; ++i)
        a[i] = double(x[i]) * (0.5 - 0.5 * std::cos(2 * kPi * double(i) / double(n)));
    Fft(a);
    std::vector<double> power(size / 2);
    for (size_t i = 0; i < power.size(); ++i)
        power[i] = std::norm(a[i]);
    return power;
}

size_t PowerOfTwoAbove(size_t n) {
    size_t size = 1;
    while (size < n)
        size <<= 1;
    return size;
}

// Relative to the strongest, floored.
Levels Normalized(const std::array<double, kHarmonics>& powers) {
    const double top = *std::max_element(powers.begin(), powers.end());
    Levels levels;
    for (int k = 0; k < kHarmonics; ++k)
        levels[size_t(k)] = std::max(kFloorDb, Db(powers[size_t(k)]) - Db(top));
    return levels;
}

// The 100 ms blocks of stereo audio louder than the gate.
std::vector<std::span<const float>> LoudBlocks(std::span<const float> stereo, int rate) {
    const size_t block = 2 * size_t(rate) / 10;
    std::vector<std::span<const float>> all;
    std::vector<double> powers;
    for (size_t at = 0; at + block <= stereo.size(); at += block) {
        const auto b = stereo.subspan(at, block);
        double sum = 0;
        for (float s : b)
            sum += double(s) * s;
        if (Db(sum / double(block)) > -70) all.push_back(b), powers.push_back(sum / double(block));
    }
    double mean = 0;
    for (double p : powers)
        mean += p / double(powers.size());
    std::vector<std::span<const float>> loud;
    for (size_t i = 0; i < all.size(); ++i)
        if (powers[i] > mean / 100) loud.push_back(all[i]);
    return loud;
}

} // namespace

std::vector<float> Mono(std::span<const float> stereo) {
    std::vector<float> mono(stereo.size() / 2);
    for (size_t i = 0; i < mono.size(); ++i)
        mono[i] = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
    return mono;
}

std::vector<float> Slice(std::span<const float> audio, int channels, double from, double to,
                         int rate) {
    const size_t frames = audio.size() / size_t(channels);
    const size_t a = std::min(frames, size_t(std::max(0.0, from) * rate));
    const size_t b = std::clamp(size_t(std::max(0.0, to) * rate), a, frames);
    return {audio.begin() + long(a * size_t(channels)), audio.begin() + long(b * size_t(channels))};
}

double GatedRmsDb(std::span<const float> stereo, int rate) {
    double sum = 0;
    size_t count = 0;
    for (const auto b : LoudBlocks(stereo, rate)) {
        for (float s : b)
            sum += double(s) * s;
        count += b.size();
    }
    return count ? Db(sum / double(count)) : -200;
}

double PeakDb(std::span<const float> stereo) {
    float peak = 0;
    for (float s : stereo)
        peak = std::max(peak, std::fabs(s));
    return 20 * std::log10(double(peak) + 1e-30);
}

double LeftRightCorrelation(std::span<const float> stereo, int rate) {
    double ll = 0, rr = 0, lr = 0, l = 0, r = 0, n = 0;
    for (const auto b : LoudBlocks(stereo, rate))
        for (size_t i = 0; i + 1 < b.size(); i += 2) {
            l += b[i], r += b[i + 1];
            ll += double(b[i]) * b[i], rr += double(b[i + 1]) * b[i + 1];
            lr += double(b[i]) * b[i + 1];
            n += 1;
        }
    if (n == 0) return 0;
    const double cov = lr / n - l / n * r / n;
    const double var = std::sqrt((ll / n - l / n * l / n) * (rr / n - r / n * r / n));
    return var > 0 ? cov / var : 0;
}

Brightness SpectralBrightness(std::span<const float> stereo, int rate) {
    constexpr size_t kFrame = 4096;
    std::vector<double> sum(kFrame / 2);
    std::vector<float> channel(kFrame);
    for (size_t at = 0; at + 2 * kFrame <= stereo.size(); at += 2 * kFrame)
        for (int c = 0; c < 2; ++c) {
            for (size_t i = 0; i < kFrame; ++i)
                channel[i] = stereo[at + 2 * i + size_t(c)];
            const auto p = PowerSpectrum(channel, kFrame);
            for (size_t i = 0; i < p.size(); ++i)
                sum[i] += p[i];
        }
    double total = 0, weighted = 0, high = 0;
    for (size_t i = 1; i < sum.size(); ++i) {
        const double hz = double(i) * rate / double(kFrame);
        total += sum[i], weighted += sum[i] * hz;
        if (hz > 8000) high += sum[i];
    }
    if (total <= 0) return {};
    return {weighted / total, high / total};
}

Levels HarmonicLevels(std::span<const float> mono, int rate, double f0, double from,
                      double length) {
    const auto window = Slice(mono, 1, from, from + length, rate);
    const size_t size = PowerOfTwoAbove(window.size() * 2);
    const auto power = PowerSpectrum(window, size);
    const double binHz = double(rate) / double(size);
    std::array<double, kHarmonics> peaks{};
    for (int k = 1; k <= kHarmonics; ++k) {
        // Stiff strings' partials run sharp: the window reaches further up than down.
        const double centre = k * f0, up = std::min(0.96, std::max(0.45, 0.08 * k)) * f0;
        const size_t a = size_t(std::max(1.0, (centre - 0.45 * f0) / binHz));
        const size_t b = std::min(power.size() - 1, size_t((centre + up) / binHz) + 1);
        for (size_t i = a; i <= b; ++i)
            peaks[size_t(k - 1)] = std::max(peaks[size_t(k - 1)], power[i]);
    }
    return Normalized(peaks);
}

Levels BandLevels(std::span<const float> mono, int rate, double from, double length) {
    const auto window = Slice(mono, 1, from, from + length, rate);
    const size_t size = PowerOfTwoAbove(window.size());
    const auto power = PowerSpectrum(window, size);
    const double binHz = double(rate) / double(size);
    std::array<double, kHarmonics> bands{};
    for (size_t i = 1; i < power.size(); ++i) {
        const double band = kHarmonics * std::log2(double(i) * binHz / 50.0) / std::log2(320.0);
        if (band >= 0 && band < kHarmonics) bands[size_t(band)] += power[i];
    }
    return Normalized(bands);
}

double MeanAbsoluteDifference(const Levels& a, const Levels& b) {
    double sum = 0;
    for (int k = 0; k < kHarmonics; ++k)
        sum += std::fabs(a[size_t(k)] - b[size_t(k)]);
    return sum / kHarmonics;
}

NoteShape ShapeOf(std::span<const float> mono, int rate, double noteOff) {
    const size_t frame = size_t(rate) / 100;
    std::vector<double> env;
    for (size_t at = 0; at + frame <= mono.size(); at += frame) {
        double sum = 0;
        for (size_t i = 0; i < frame; ++i)
            sum += double(mono[at + i]) * mono[at + i];
        env.push_back(Db(sum / double(frame)));
    }
    NoteShape shape;
    if (env.empty()) return shape;
    const size_t off = std::min(env.size() - 1, size_t(noteOff * 100));
    const size_t peakAt =
        size_t(std::max_element(env.begin(), env.begin() + long(off) + 1) - env.begin());
    const double peak = env[peakAt];
    size_t onset = 0;
    while (onset < peakAt && env[onset] < peak - 40)
        ++onset;
    size_t near = onset;
    while (near < peakAt && env[near] < peak - 3)
        ++near;
    shape.Onset = double(onset) / 100;
    shape.Attack = double(near - onset) / 100;
    size_t fall = peakAt;
    while (fall < off && env[fall] > peak - 20)
        ++fall;
    shape.Held = fall >= off;
    shape.Decay = double(fall - peakAt) / 100;
    size_t release = off;
    while (release + 1 < env.size() && env[release] > env[off] - 20)
        ++release;
    shape.Release = double(release - off) / 100;
    return shape;
}

} // namespace measure
