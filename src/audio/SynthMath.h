// The synthesizer's own exponentials, logarithms and trigonometry: plain float arithmetic in
// a fixed order, so that every player (whatever compiler and C library built it) computes
// the same samples. Accurate to about 1e-6 relative, which is far below hearing.
#pragma once

#include <bit>
#include <cstdint>

namespace synth {

// sin(2 pi x) for x in cycles, |x| below 2^22, within about 1e-7: x brought into [-0.5, 0.5],
// folded into [-0.25, 0.25] and an odd polynomial. Branch-free, so loops over blocks vectorize.
inline float SinCycles(float x) {
    constexpr float kRound = 12582912.0f; // 1.5 * 2^23: adding and taking it away rounds
    x -= (x + kRound) - kRound;
    x = x > 0.25f ? 0.5f - x : (x < -0.25f ? -0.5f - x : x);
    const float z = x * x;
    // Taylor series of sin(2 pi x) to x^11.
    return x * (6.2831853f +
                z * (-41.341702f +
                     z * (81.605249f + z * (-76.705859f + z * (42.058694f + z * -15.094643f)))));
}

inline float CosCycles(float x) {
    return SinCycles(x + 0.25f);
}

// 2^x, for x from -126 to 127 (0 below, a huge number above).
inline float Exp2(float x) {
    if (!(x > -126.0f)) return 0.0f;
    if (x > 127.0f) x = 127.0f;
    constexpr float kRound = 12582912.0f;
    const float whole = (x + kRound) - kRound; // nearest integer
    const float f = x - whole;                 // -0.5 to 0.5
    // Taylor series of 2^f = e^(f ln 2) to the seventh power.
    constexpr float c1 = 0.69314718f, c2 = 0.24022651f, c3 = 0.055504109f, c4 = 0.0096181291f,
                    c5 = 0.0013333558f, c6 = 0.00015403530f, c7 = 0.000015252734f;
    const float p = 1.0f + f * (c1 + f * (c2 + f * (c3 + f * (c4 + f * (c5 + f * (c6 + f * c7))))));
    const uint32_t exponent = uint32_t(int32_t(whole) + 127) << 23;
    return p * std::bit_cast<float>(exponent);
}

// log2 x for x above 0 (normal numbers; -126 for anything smaller).
inline float Log2(float x) {
    if (!(x >= 1.17549435e-38f)) return -126.0f;
    const uint32_t bits = std::bit_cast<uint32_t>(x);
    int exponent = int(bits >> 23) - 127;
    float m = std::bit_cast<float>((bits & 0x007FFFFFu) | 0x3F800000u); // 1 to 2
    if (m > 1.41421356f) m *= 0.5f, ++exponent;                         // 0.71 to 1.41
    // log2 m = 2 atanh(t) / ln 2 with t = (m - 1) / (m + 1), |t| below 0.172.
    const float t = (m - 1.0f) / (m + 1.0f), z = t * t;
    const float series =
        t *
        (2.8853901f + z * (0.96179669f + z * (0.57707802f + z * (0.41219858f + z * 0.32059889f))));
    return float(exponent) + series;
}

inline float Exp(float x) {
    return Exp2(x * 1.44269504f);
}

// x^y for x above 0.
inline float Pow(float x, float y) {
    return Exp2(y * Log2(x));
}

inline float DbToGain(float db) {
    return Exp2(db * 0.166096405f); // 10^(db / 20)
}

// tan(pi x) for x from 0 to just below 0.5: what a filter's cutoff needs.
inline float TanHalfCycles(float x) {
    return SinCycles(0.5f * x) / CosCycles(0.5f * x);
}

inline float Tanh(float x) {
    if (x > 9.0f) return 1.0f;
    if (x < -9.0f) return -1.0f;
    const float e = Exp2(2.88539008f * x); // e^(2x)
    return (e - 1.0f) / (e + 1.0f);
}

} // namespace synth
