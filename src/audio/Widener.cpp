#include "Widener.h"

namespace synth {
namespace {

// The squared coefficients of two chains of second-order all-pass sections whose phase
// responses differ by 90 degrees (within a degree) over nearly the whole band, one of them
// a sample later: the classic polyphase design of a Hilbert transformer.
constexpr float kDry[4] = {0.6923878f * 0.6923878f, 0.9360654322959f * 0.9360654322959f,
                           0.9882295226860f * 0.9882295226860f,
                           0.9987488452737f * 0.9987488452737f};
constexpr float kShifted[4] = {
    0.4021921162426f * 0.4021921162426f, 0.8561710882420f * 0.8561710882420f,
    0.9722909545651f * 0.9722909545651f, 0.9952884791278f * 0.9952884791278f};

} // namespace

// y[n] = c (x[n] + y[n-2]) - x[n-2], section after section.
float Widener::Chain::Run(const float* coefficients, float x) {
    for (int k = 0; k < kSections; ++k) {
        const float y = coefficients[k] * (x + Out2[k]) - In2[k];
        In2[k] = In1[k], In1[k] = x;
        Out2[k] = Out1[k], Out1[k] = y;
        x = y;
    }
    return x;
}

void Widener::Process(float* left, float* right, const float* width, int frames) {
    for (int i = 0; i < frames; ++i) {
        const float shifted = widthDelayed_;
        widthDelayed_ = width_.Run(kShifted, width[i]);
        left[i] = left_.Run(kDry, left[i]) + shifted;
        right[i] = right_.Run(kDry, right[i]) - shifted;
    }
}

} // namespace synth
