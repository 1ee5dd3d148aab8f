// Measurements on rendered stereo audio for the synthesizer's tests.
#pragma once

#include "MidiTune.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

namespace audiotest {

constexpr int kRate = 44100;

inline std::vector<float> Render(const std::vector<uint8_t>& midi, int rate = kRate) {
    return RenderMidiTune(midi, rate);
}

// Frames `from` to `to` seconds of one channel.
inline std::vector<float> Channel(std::span<const float> stereo, int channel, double from,
                                  double to, int rate = kRate) {
    std::vector<float> mono;
    for (size_t f = size_t(from * rate); f < size_t(to * rate) && 2 * f + 1 < stereo.size(); ++f)
        mono.push_back(stereo[2 * f + size_t(channel)]);
    return mono;
}

inline double Rms(std::span<const float> samples) {
    double sum = 0;
    for (float s : samples)
        sum += double(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / double(samples.size()));
}

inline double Db(double ratio) {
    return 20 * std::log10(ratio);
}

inline float Peak(std::span<const float> samples) {
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    return peak;
}

// Magnitude of the Hann-windowed spectrum of `mono` at `hz` (a single-frequency DFT).
inline double MagnitudeAt(std::span<const float> mono, double hz, int rate) {
    double re = 0, im = 0;
    const double step = 2 * std::numbers::pi * hz / rate;
    const size_t n = mono.size();
    for (size_t i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n));
        re += w * mono[i] * std::cos(step * double(i));
        im -= w * mono[i] * std::sin(step * double(i));
    }
    return std::hypot(re, im);
}

// The frequency of the strongest component between `low` and `high` Hz, to a hundredth of a Hz:
// a coarse scan, then ever finer ones around the best.
inline double StrongestFrequency(std::span<const float> mono, double low, double high,
                                 int rate = kRate) {
    double best = low;
    for (double step = 1.0; step >= 0.01; step /= 10) {
        double bestMagnitude = -1;
        for (double hz = low; hz <= high; hz += step) {
            const double m = MagnitudeAt(mono, hz, rate);
            if (m > bestMagnitude) bestMagnitude = m, best = hz;
        }
        low = best - step, high = best + step;
    }
    return best;
}

inline double Cents(double hz, double reference) {
    return 1200 * std::log2(hz / reference);
}

// First frame at or after `from` whose left or right sample exceeds `threshold`; -1 if none.
inline long FirstAbove(std::span<const float> stereo, size_t from, float threshold) {
    for (size_t f = from; 2 * f + 1 < stereo.size(); ++f)
        if (std::fabs(stereo[2 * f]) > threshold || std::fabs(stereo[2 * f + 1]) > threshold)
            return long(f);
    return -1;
}

} // namespace audiotest
