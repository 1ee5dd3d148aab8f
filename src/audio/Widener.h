// Stereo width without a second voice: the signal a voice sends for width is shifted by 90
// degrees against the dry mix (two all-pass chains whose phases stay 90 degrees apart from
// about 50 Hz up) and added to the left and taken from the right. A shifted copy is
// uncorrelated with the original, so the more of it, the wider the sound, and past as much as
// the original the two sides turn against each other, as the stereo recordings of some
// instruments do.
#pragma once

namespace synth {

class Widener {
  public:
    // Left and right become the dry mix plus and minus the shifted width send.
    void Process(float* left, float* right, const float* width, int frames);

  private:
    static constexpr int kSections = 4;
    // One chain's state: each section remembers its last two inputs and outputs.
    struct Chain {
        float In1[kSections] = {}, In2[kSections] = {}, Out1[kSections] = {}, Out2[kSections] = {};
        float Run(const float* coefficients, float x);
    };
    Chain left_, right_, width_;
    float widthDelayed_ = 0;
};

} // namespace synth
