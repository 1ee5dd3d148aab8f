// The chorus a General MIDI player gives controller 93: three copies of the send, each
// delayed by a slowly swinging 6 to 14 ms (as many players a little apart in time and pitch),
// spread from left to right.
#pragma once

#include <cstdint>
#include <vector>

namespace synth {

class Chorus {
  public:
    explicit Chorus(float rate);
    // Adds the chorus of `send` into left and right; `frames` at most Reverb::kMaxBlock.
    void Process(const float* send, float* left, float* right, int frames);
    // No send feeds it and its delays hold nothing audible.
    bool Quiet() const { return quietFrames_ > length_; }

  private:
    std::vector<float> line_;
    uint32_t length_ = 0, write_ = 0; // length_ is a power of two
    float rate_;
    float lfoPhase_ = 0, lfoStep_ = 0;
    long quietFrames_ = 0;
};

} // namespace synth
