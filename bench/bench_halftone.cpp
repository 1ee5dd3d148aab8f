// Speed of the reduction to the halftone palette, which every BMP background goes through.
// Prints medians in milliseconds and megapixels per second.
//
//   bench_halftone [runs]
#include "BenchTiming.h"
#include "Halftone.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <vector>

namespace {

// 24-bit shading in all three components with film grain: nearly every pixel differs from
// its neighbours, the slow case for a reduction that passes palette colours through.
TPicture TrueColourPhoto(int width, int height) {
    TPicture p{width, height, {}};
    p.Pixels.reserve(size_t(width) * size_t(height));
    std::mt19937 rng(42);
    std::normal_distribution<double> grain(0.0, 4.0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width, v = double(y) / height;
            auto component = [&](double shade) {
                return TPlatformColor(std::clamp(int(shade * 255 + grain(rng)), 0, 255));
            };
            p.Pixels.push_back(component(0.5 + 0.4 * std::sin(7 * u + 3 * v)) |
                               component(0.5 + 0.4 * std::cos(5 * v - 2 * u)) << 8 |
                               component(0.5 + 0.4 * std::sin(11 * u * v + 1)) << 16);
        }
    return p;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    const TPicture photo = TrueColourPhoto(1920, 1080);
    const TPicture reduced = ReduceToHalftone(photo);
    const double pixels = double(photo.Pixels.size());
    std::printf("ReduceToHalftone, 1920x1080, %d runs each, medians\n", runs);
    std::printf("%-34s %8s %12s\n", "picture", "ms", "megapixels/s");
    for (const auto& [name, picture] :
         {std::pair{"24-bit photo", &photo}, std::pair{"the same, already reduced", &reduced}}) {
        const double ms = 1e3 * bench::MedianSeconds(runs, [&] { ReduceToHalftone(*picture); });
        std::printf("%-34s %8.2f %12.0f\n", name, ms, pixels / ms / 1000);
    }
    const std::set<TPlatformColor> colours(reduced.Pixels.begin(), reduced.Pixels.end());
    std::printf("colours after reduction: %zu\n", colours.size());
}
