// The components of a platform colour value (red in the low byte, then green, then blue).
#pragma once

#include "ColorTbl.h"

#include <cstdint>

inline constexpr TPlatformColor PlatformColor(uint8_t red, uint8_t green, uint8_t blue) {
    return TPlatformColor(red) | TPlatformColor(green) << 8 | TPlatformColor(blue) << 16;
}

inline constexpr int Red(TPlatformColor c) {
    return int(c & 0xFF);
}
inline constexpr int Green(TPlatformColor c) {
    return int(c >> 8 & 0xFF);
}
inline constexpr int Blue(TPlatformColor c) {
    return int(c >> 16 & 0xFF);
}

// The squared distance in red, green and blue, the measure every choice of colour here uses.
inline constexpr int SquaredDistance(int r1, int g1, int b1, int r2, int g2, int b2) {
    return (r1 - r2) * (r1 - r2) + (g1 - g2) * (g1 - g2) + (b1 - b2) * (b1 - b2);
}
