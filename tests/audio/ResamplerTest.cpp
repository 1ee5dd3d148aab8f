#include "Resampler.h"
#include "AudioTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace audiotest;

namespace {

// A tone of `frames` frames: sine on the left, cosine on the right.
class Tone final : public AudioSource {
  public:
    Tone(double hertz, int rate, size_t frames)
        : step_(2 * std::numbers::pi * hertz / rate), left_(frames) {}
    size_t Render(float* out, size_t frames) override {
        const size_t n = std::min(frames, left_);
        for (size_t i = 0; i < n; ++i, ++at_) {
            out[2 * i] = float(0.5 * std::sin(step_ * double(at_)));
            out[2 * i + 1] = float(0.5 * std::cos(step_ * double(at_)));
        }
        left_ -= n;
        return n;
    }

  private:
    double step_;
    size_t left_, at_ = 0;
};

struct ToneCase {
    int From, To;
    double Hertz;
};

std::vector<float> Resample(const ToneCase& c, size_t frames, size_t block = 777) {
    Resampler resampler(std::make_unique<Tone>(c.Hertz, c.From, frames), c.From, c.To);
    return RenderAll(resampler, block);
}

// Tones in the pass band come out as the same tones at the new rate, in time with the input
// (output frame k at input time k * from / to), the whole sound long; the sound's length
// scales with the rates. The odd rate 44101 Hz takes the rounded-phase path.
TEST(Resampler, KeepsTonesInThePassBandInTime) {
    const std::vector<ToneCase> cases = {
        {22050, 48000, 1000}, {44100, 48000, 1000}, {44100, 48000, 17000},
        {8000, 44100, 3000},  {11025, 48000, 300},  {96000, 44100, 15000},
        {48000, 44100, 1000}, {44101, 48000, 5000}, {192000, 48000, 440},
    };
    const size_t frames = 20000;
    for (const ToneCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.From << " -> " << c.To << " Hz, " << c.Hertz << " Hz");
        const std::vector<float> out = Resample(c, frames);
        const size_t expected = (frames * size_t(c.To) + size_t(c.From) - 1) / size_t(c.From);
        ASSERT_EQ(out.size(), 2 * expected);
        // Away from the two ends, where the tone starts and stops abruptly.
        const double step = 2 * std::numbers::pi * c.Hertz / c.To;
        double worst = 0;
        for (size_t k = 200; k + 200 < expected; ++k) {
            worst = std::max(worst, std::abs(out[2 * k] - 0.5 * std::sin(step * double(k))));
            worst = std::max(worst, std::abs(out[2 * k + 1] - 0.5 * std::cos(step * double(k))));
        }
        EXPECT_LT(worst, 0.5 * 0.003) << "error above -50 dB of the tone";
    }
}

// Tones that the lower rate cannot hold are removed, not folded back as aliases (which nearest
// or linear interpolation would leave at a few percent).
TEST(Resampler, RemovesWhatTheLowerRateCannotHold) {
    const std::vector<ToneCase> cases = {{96000, 48000, 30000},
                                         {48000, 44100, 24000},
                                         {44100, 22050, 13000},
                                         {192000, 44100, 60000}};
    for (const ToneCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.From << " -> " << c.To << " Hz, " << c.Hertz << " Hz");
        const std::vector<float> out = Resample(c, 20000);
        double energy = 0;
        for (size_t i = 400; i + 400 < out.size(); ++i)
            energy += double(out[i]) * out[i];
        const double rms = std::sqrt(energy / double(out.size() - 800));
        EXPECT_LT(20 * std::log10(rms / (0.5 / std::sqrt(2.0))), -60.0);
    }
}

// The output does not depend on how the mixer slices its pulls.
TEST(Resampler, SameSamplesWhateverTheBlockSize) {
    const ToneCase c{22050, 48000, 440};
    EXPECT_EQ(Resample(c, 5000, 1), Resample(c, 5000, 4096));
}

} // namespace
