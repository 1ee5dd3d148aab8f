// A 24-bit picture as the card window shows it: Height rows of Width pixels, each pixel three
// bytes (red, green, blue), top row first, rows back to back. Frames, backgrounds and text
// images are all held this way, so every transition is row copies between equal layouts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr int kRgbBytes = 3;

struct TRgbImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Rgb;

    TRgbImage() = default;
    // Black.
    TRgbImage(int32_t width, int32_t height)
        : Width(width), Height(height), Rgb(size_t(width) * size_t(height) * kRgbBytes) {}

    size_t Stride() const { return size_t(Width) * kRgbBytes; }
    uint8_t* Pixel(int32_t x, int32_t y) {
        return Rgb.data() + size_t(y) * Stride() + size_t(x) * kRgbBytes;
    }
    const uint8_t* Pixel(int32_t x, int32_t y) const {
        return Rgb.data() + size_t(y) * Stride() + size_t(x) * kRgbBytes;
    }
    bool operator==(const TRgbImage&) const = default;
};
