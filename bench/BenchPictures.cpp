#include "BenchPictures.h"

#include <algorithm>
#include <array>
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
            if (std::abs(x - 2 * width / 3) < width / 10 && y > height / 3 && y < 3 * height / 4)
                c = 5;                              // house
            if ((x / 40 + y / 40) % 11 == 0) c = 1; // stripes
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

namespace {
TPlatformColor Pack(double r, double g, double b) {
    auto c = [](double v) { return TPlatformColor(std::clamp(int(std::lround(v)), 0, 255)); };
    return c(r) | c(g) << 8 | c(b) << 16;
}

double Smooth(double edge0, double edge1, double v) {
    const double t = std::clamp((v - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double Mix(double a, double b, double t) {
    return a + (b - a) * t;
}

template <typename Shade>
TrueColourPicture Generate(const std::string& name, int width, int height, Shade shade) {
    TrueColourPicture p{
        name + " " + std::to_string(width) + "x" + std::to_string(height), width, height, {}};
    p.pixels.reserve(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.pixels.push_back(shade(double(x) / width, double(y) / height));
    return p;
}
} // namespace

TrueColourPicture GrainyPhoto(int width, int height) {
    std::mt19937 rng(7);
    std::normal_distribution<double> grain(0.0, 4.0);
    return Generate("grainy photo", width, height, [&](double u, double v) {
        return Pack((0.5 + 0.4 * std::sin(7 * u + 3 * v)) * 255 + grain(rng),
                    (0.5 + 0.4 * std::cos(5 * v - 2 * u)) * 255 + grain(rng),
                    (0.5 + 0.4 * std::sin(11 * u * v + 1)) * 255 + grain(rng));
    });
}

TrueColourPicture SkyGradient(int width, int height) {
    std::mt19937 rng(11);
    std::normal_distribution<double> grain(0.0, 0.8);
    const double aspect = double(width) / height;
    return Generate("sky", width, height, [&](double u, double v) {
        const double t = std::pow(v, 0.8);
        double r = Mix(24, 196, t), g = Mix(72, 218, t), b = Mix(168, 244, t);
        const double du = (u - 0.75) * aspect, dv = v - 0.7;
        const double glow = std::exp(-(du * du + dv * dv) * 6);
        r = Mix(r, 255, 0.6 * glow);
        g = Mix(g, 226, 0.5 * glow);
        b = Mix(b, 170, 0.4 * glow);
        return Pack(r + grain(rng), g + grain(rng), b + grain(rng));
    });
}

TrueColourPicture FacePhoto(int width, int height) {
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0.0, 2.0);
    const double aspect = double(width) / height;
    return Generate("face", width, height, [&](double u, double v) {
        const double x = (u - 0.5) * aspect, y = v - 0.52;
        // A blurred garden behind: greens and a warm patch of flowers.
        double r = 70 + 40 * std::sin(9 * u + 2 * v) +
                   60 * std::exp(-((u - 0.15) * (u - 0.15) + (v - 0.3) * (v - 0.3)) * 30);
        double g = 110 + 35 * std::cos(7 * v - 3 * u) + 15 * std::sin(21 * u * v);
        double b = 60 + 25 * std::sin(5 * u + 6 * v);
        // Hair: a dark brown oval behind the face, with strands.
        const double hair = 1 - Smooth(0.95, 1.0, std::hypot(x / 0.3, (y + 0.05) / 0.42));
        const double strands = 0.8 + 0.2 * std::sin(180 * x + 20 * std::sin(12 * y));
        r = Mix(r, 70 * strands, hair);
        g = Mix(g, 45 * strands, hair);
        b = Mix(b, 30 * strands, hair);
        // The face: skin shaded as a lit sphere, light from the upper left.
        const double fx = x / 0.22, fy = (y + 0.02) / 0.3, rr = fx * fx + fy * fy;
        const double face = 1 - Smooth(0.92, 1.0, std::sqrt(rr));
        const double nz = std::sqrt(std::max(0.0, 1 - std::min(rr, 1.0)));
        const double light =
            std::clamp(0.35 + 0.65 * (-0.45 * fx - 0.5 * fy + 0.74 * nz), 0.0, 1.1);
        double sr = 232 * light + 20, sg = 178 * light + 12, sb = 150 * light + 8;
        // Cheeks, lips and eyes.
        const double cheek =
            std::exp(-(std::pow(std::abs(fx) - 0.5, 2) + std::pow(fy - 0.2, 2)) * 30);
        sr = Mix(sr, 230, 0.25 * cheek);
        sg = Mix(sg, 120, 0.25 * cheek);
        const double lips = 1 - Smooth(0.8, 1.0, std::hypot(fx / 0.3, (fy - 0.55) / 0.08));
        sr = Mix(sr, 180, lips);
        sg = Mix(sg, 70, lips);
        sb = Mix(sb, 80, lips);
        for (double side : {-0.38, 0.38}) {
            const double eye =
                1 - Smooth(0.85, 1.0, std::hypot((fx - side) / 0.17, (fy + 0.15) / 0.07));
            const double iris =
                1 - Smooth(0.8, 1.0, std::hypot((fx - side) / 0.06, (fy + 0.15) / 0.06));
            sr = Mix(Mix(sr, 240, eye), 60, iris);
            sg = Mix(Mix(sg, 236, eye), 90, iris);
            sb = Mix(Mix(sb, 230, eye), 60, iris);
        }
        r = Mix(r, sr, face);
        g = Mix(g, sg, face);
        b = Mix(b, sb, face);
        return Pack(r + noise(rng), g + noise(rng), b + noise(rng));
    });
}

TrueColourPicture SmoothCartoon(int width, int height) {
    // Each pixel is the mean of 4 x 4 samples of a flat drawing, which smooths the edges.
    const double aspect = double(width) / height;
    auto flat = [aspect](double u, double v) -> std::array<double, 3> {
        const double x = u * aspect;
        if (std::abs(std::hypot(x - 0.35 * aspect, v - 0.3) - 0.12) < 0.006) return {0, 0, 0};
        if (std::hypot(x - 0.35 * aspect, v - 0.3) < 0.12) return {255, 214, 40}; // sun
        const double hill = 0.68 + 0.06 * std::sin(6 * u);
        if (std::abs(v - hill) < 0.005) return {0, 0, 0};
        if (v > hill) return {90, 170, 60}; // grass
        const double hx = std::abs(u - 0.7), hy = v - 0.45;
        if (hx < 0.1 && hy > 0 && hy < 0.25)
            return (hx > 0.095 || hy < 0.005) ? std::array<double, 3>{0, 0, 0}
                                              : std::array<double, 3>{200, 60, 50};
        if (hy < 0 && hy > -0.15 && hx < 0.12 + hy * 0.8) return {120, 70, 40}; // roof
        return {Mix(70, 190, v), Mix(140, 225, v), Mix(220, 250, v)};           // sky
    };
    return Generate("cartoon", width, height, [&](double u, double v) {
        std::array<double, 3> sum{};
        for (int sy = 0; sy < 4; ++sy)
            for (int sx = 0; sx < 4; ++sx) {
                const auto c =
                    flat(u + (sx + 0.5) / (4.0 * width), v + (sy + 0.5) / (4.0 * height));
                for (int k = 0; k < 3; ++k)
                    sum[k] += c[k] / 16;
            }
        return Pack(sum[0], sum[1], sum[2]);
    });
}
