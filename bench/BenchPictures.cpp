#include "BenchPictures.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {
TColorTable Palette(int count) {
    TColorTable t;
    t.Count = count;
    for (int i = 0; i < count; ++i) {
        const double f = double(i) / std::max(1, count - 1);
        t.Colors[i] = {uint8_t(255 * f), uint8_t(255 * (0.5 + 0.5 * std::sin(6.28 * f))),
                       uint8_t(255 * (1 - f))};
    }
    return t;
}
} // namespace

BenchPicture PhotoLike(int width, int height) {
    BenchPicture p{"photo " + std::to_string(width) + "x" + std::to_string(height), Palette(256),
                   TByteArray2D(width, height)};
    std::mt19937 rng(42);
    std::normal_distribution<double> grain(0.0, 3.0);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = p.indices.RowData(y + 1);
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width, v = double(y) / height;
            const double shade = 0.45 + 0.3 * std::sin(7 * u + 3 * v) * std::cos(5 * v - 2 * u) +
                                 0.2 * std::sin(23 * u * v);
            row[x] = uint8_t(std::clamp(int(shade * 255 + grain(rng)), 0, 255));
        }
    }
    return p;
}

BenchPicture CartoonLike(int width, int height) {
    BenchPicture p{"cartoon " + std::to_string(width) + "x" + std::to_string(height), Palette(16),
                   TByteArray2D(width, height)};
    for (int y = 0; y < height; ++y) {
        uint8_t* row = p.indices.RowData(y + 1);
        for (int x = 0; x < width; ++x) {
            uint8_t c = y < height / 2 ? 3 : 9; // sky and ground
            const int dx = x - width / 3, dy = y - height / 3;
            if (dx * dx + dy * dy < (height / 6) * (height / 6)) c = 12; // sun
            if (std::abs(x - 2 * width / 3) < width / 10 && y > height / 3 && y < 3 * height / 4) c = 5; // house
            if ((x / 40 + y / 40) % 11 == 0) c = 1;                                   // stripes
            row[x] = c;
        }
    }
    return p;
}

std::vector<TPlatformColor> ToPlatformColors(const BenchPicture& picture) {
    std::vector<TPlatformColor> out(size_t(picture.indices.Bytes.Count));
    for (size_t i = 0; i < out.size(); ++i) {
        const TColorRGB c = picture.colors.Colors[picture.indices.Bytes.Data[i]];
        out[i] = c.Red | (c.Green << 8) | (c.Blue << 16);
    }
    return out;
}
