// The room a General MIDI player gives controller 91: the send's early reflections from the
// walls (a tapped delay, different taps on each side) and then a diffuse tail (two all-pass
// diffusers feeding eight delay lines that exchange their signal through a Hadamard matrix,
// each losing its share of a 60 dB fall per reverberation time, the highs a little faster).
// Left and right hear the lines through different signs, so the tail is wide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {

class Reverb {
  public:
    static constexpr int kMaxBlock = 64;
    static constexpr int kLines = 8;

    explicit Reverb(float rate);
    // Adds the room's answer to `send` into left and right.
    void Process(const float* send, float* left, float* right, int frames);
    // No send feeds it and what is left in it is far below hearing.
    bool Quiet() const { return quietFrames_ > quietAfter_; }

  private:
    // A circular delay of a power-of-two size, read `delay` samples back from the next write.
    class Line {
      public:
        explicit Line(size_t atLeast);
        float Read(uint32_t delay) const { return buffer_[(write_ - delay) & mask_]; }
        void Write(float v) { buffer_[write_++ & mask_] = v; }

      private:
        std::vector<float> buffer_;
        uint32_t mask_ = 0, write_ = 0;
    };
    struct Tap {
        uint32_t Delay;
        float Left, Right;
    };
    struct Diffuser {
        Line Buffer;
        uint32_t Delay;
    };

    float Diffuse(float x);

    Line early_;
    std::vector<Tap> taps_;
    uint32_t tailDelay_ = 0;
    std::vector<Diffuser> diffusers_;
    std::vector<Line> lines_;
    uint32_t lineDelay_[kLines] = {};
    float lineGain_[kLines] = {}, damped_[kLines] = {};
    float damping_ = 0;
    long quietFrames_ = 0, quietAfter_ = 0;
};

} // namespace synth
