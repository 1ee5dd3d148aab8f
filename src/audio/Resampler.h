// Sample-rate conversion of a stereo source by a band-limited polyphase filter: each output
// frame is the input convolved with a Kaiser-windowed sinc, centred on the output frame's time,
// whose cut-off lies just below half the lower of the two rates. Rates whose ratio reduces to
// at most kMaxPhases output steps are converted exactly; others with the time rounded down to
// 1/kMaxPhases of an input frame.
#pragma once

#include "AudioSource.h"

#include <cstdint>
#include <memory>
#include <vector>

class Resampler final : public AudioSource {
  public:
    static constexpr int kMaxPhases = 2048;

    Resampler(std::unique_ptr<AudioSource> input, int inputRate, int outputRate);
    // Output frame k is taken at the time of input frame k * inputRate / outputRate; the
    // output ends with the input, after ceil(inputFrames * outputRate / inputRate) frames.
    size_t Render(float* out, size_t frames) override;

  private:
    void Refill();

    std::unique_ptr<AudioSource> input_;
    int64_t up_, down_;              // output steps per `down_` input frames, in lowest terms
    int64_t stepFrames_, stepPhase_; // down_ / up_ and down_ % up_: one output's step
    int64_t tablePhases_;            // rows of table_
    size_t taps_;                    // filter length in input frames, a multiple of 4
    std::vector<float> table_;       // per row `taps_` coefficients, each twice (left, right)
    std::vector<float> buffer_;      // stereo input frames; buffer_[0] is input frame bufferStart_
    int64_t bufferStart_;
    size_t bufferFrames_;
    int64_t frame_ = 0; // the input frame at or before the next output's time
    int64_t phase_ = 0; // and how far past it, in 1/up_ of a frame
    bool inputEnded_ = false;
    int64_t inputFrames_ = 0;         // input frames read so far: all of them once it has ended
    int64_t outputFrames_ = 0;        // output frames rendered so far
    int64_t outputTotal_ = INT64_MAX; // output frames in all, once the input has ended
};
