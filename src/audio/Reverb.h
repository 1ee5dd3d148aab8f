// A small stereo room: parallel comb filters with damped feedback and series all-passes
// (Schroeder's design, tuned as Freeverb tunes it), fed by the voices' reverb sends. Every
// delay is longer than a block, so each filter runs a whole block at a time.
#pragma once

#include <cstddef>
#include <vector>

namespace synth {

class Reverb {
  public:
    static constexpr int kMaxBlock = 64;

    explicit Reverb(float rate);
    // Adds the room's answer to `send` into left and right; at most kMaxBlock frames.
    void Process(const float* send, float* left, float* right, int frames);
    // Whether the room has fallen silent and no send feeds it.
    bool Quiet() const { return quietFrames_ > quietAfter_; }

  private:
    // A circular delay read and then written a block at a time.
    class Delay {
      public:
        explicit Delay(size_t length) : buffer_(length) {}
        void Read(float* out, int count) const;
        void Write(const float* in, int count);

      private:
        std::vector<float> buffer_;
        size_t pos_ = 0;
    };
    struct Comb {
        Delay Line;
        float LastOut = 0; // for the damping, which averages two outputs
    };

    std::vector<Comb> combs_[2];
    std::vector<Delay> allPasses_[2];
    long quietFrames_ = 0, quietAfter_ = 0;
};

} // namespace synth
