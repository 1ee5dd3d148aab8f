// Measurements of rendered sound for comparing two synthesizers: loudness, stereo image,
// brightness, the levels of a note's harmonics and the times of its envelope. Audio is
// interleaved stereo floats unless a function says mono.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace measure {

constexpr int kHarmonics = 12;
using Levels = std::array<double, kHarmonics>; // dB, the strongest at 0, none below kFloorDb
constexpr double kFloorDb = -60;

std::vector<float> Mono(std::span<const float> stereo);
// Frames `from` to `to` seconds of mono or stereo audio (clamped to what there is).
std::vector<float> Slice(std::span<const float> audio, int channels, double from, double to,
                         int rate);

// Mean power of the 100 ms blocks that are not silent (gated as EBU R 128 gates, without its
// weighting), in dB of full scale: tails of silence of any length do not count.
double GatedRmsDb(std::span<const float> stereo, int rate);
double PeakDb(std::span<const float> stereo);
// Pearson correlation of left and right over the blocks that are not silent.
double LeftRightCorrelation(std::span<const float> stereo, int rate);
// The power-weighted mean frequency, and the share of the power above `hz`.
struct Brightness {
    double CentroidHz = 0, ShareAbove8k = 0;
};
Brightness SpectralBrightness(std::span<const float> stereo, int rate);

// Harmonics 1 to 12 of a note at `f0`, in a Hann window over `from` to `from + length`
// seconds of mono audio; each the strongest peak from 0.45 f0 below k f0 to up to 0.96 f0
// above it (so that a piano's stretched partials are found).
Levels HarmonicLevels(std::span<const float> mono, int rate, double f0, double from, double length);
// For unpitched sounds: the power in twelve bands of equal width in octaves, 50 Hz to 16 kHz.
Levels BandLevels(std::span<const float> mono, int rate, double from, double length);
double MeanAbsoluteDifference(const Levels& a, const Levels& b);

// A note's envelope (10 ms RMS frames, in seconds from the start of the mono audio): when it
// starts (first frame within 40 dB of the peak), how long it takes to come within 3 dB of
// its peak, how long from the peak to fall 20 dB while the key is held (Held when it never
// does before `noteOff`), and how long after `noteOff` to fall a further 20 dB.
struct NoteShape {
    double Onset = 0, Attack = 0, Decay = 0, Release = 0;
    bool Held = false;
};
NoteShape ShapeOf(std::span<const float> mono, int rate, double noteOff);

} // namespace measure
