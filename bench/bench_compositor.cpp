// Composing one 1920x1080 frame in the middle of each transition, as the card player does for
// every frame it shows. Prints the median per transition on one core.
//
//   bench_compositor [runs]
#include "BenchTiming.h"
#include "Compositor.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;
constexpr int64_t kDuration = 1000;

// Shading with a little noise, so that no two rows are alike.
TRgbImage Shading(int32_t width, int32_t height, uint32_t seed) {
    TRgbImage image(width, height);
    uint8_t* p = image.Rgb.data();
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const uint8_t noise = uint8_t(seed >> 28);
            *p++ = uint8_t(x * 255 / width + noise);
            *p++ = uint8_t(y * 255 / height + noise);
            *p++ = uint8_t((x + y) * 127 / (width + height) + noise);
        }
    return image;
}

class Pictures final : public TPictureSource {
  public:
    Pictures() {
        pictures_["old.gif"] = std::make_shared<TRgbImage>(Shading(kWidth, kHeight, 1));
        pictures_["new.gif"] = std::make_shared<TRgbImage>(Shading(kWidth, kHeight, 2));
        pictures_["text.gif"] = std::make_shared<TRgbImage>(Shading(1200, 400, 3));
    }
    std::shared_ptr<const TRgbImage> Picture(const std::string& name) override {
        return pictures_.at(name);
    }

  private:
    std::map<std::string, std::shared_ptr<const TRgbImage>> pictures_;
};

struct Case {
    const char* name;
    std::string line; // the line under test, after the old background
};

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 31;
    const std::string d = std::to_string(kDuration);
    std::vector<Case> cases = {{"open: zoom", "s1: :" + d + ",1920,1080"},
                               {"open: slide down", "s2: :" + d + ",1920,1080"},
                               {"open: slide right", "s3: :" + d + ",1920,1080"}};
    const char* pictureNames[] = {"scroll down",
                                  "scroll up",
                                  "scroll left",
                                  "scroll right",
                                  "blinds",
                                  "mosaic",
                                  "open horizontally",
                                  "close horizontally",
                                  "open vertically",
                                  "close vertically",
                                  "zoom",
                                  "unfold"};
    for (int t = 1; t <= 12; ++t)
        cases.push_back({pictureNames[t - 1], "t" + std::to_string(t) + ":new.gif:" + d});
    cases.push_back({"restore (%), zoom", "t11:%:" + d});
    const char* textNames[] = {"text slide down",  "text slide up", "text slide left",
                               "text slide right", "text blinds",   "text mosaic"};
    for (int t = 1; t <= 6; ++t)
        cases.push_back(
            {textNames[t - 1], "a" + std::to_string(t) + ":text.gif:" + d + ",360,340"});

    Pictures pictures;
    // The moments, in shares of the transition's time.
    const int64_t moments[] = {kDuration / 4, kDuration / 2, kDuration * 3 / 4,
                               kDuration * 15 / 16};
    std::printf("one %dx%d frame of each transition, median of %d runs, ms\n", kWidth, kHeight,
                runs);
    std::printf("  %-22s %6s %6s %6s %6s\n", "at", "1/4", "1/2", "3/4", "15/16");
    std::vector<double> slowest(std::size(moments));
    for (const Case& c : cases) {
        // The old background, for "%" covered by a text, then the line under test.
        const std::string script =
            "1920\r\n1080\r\nt1:old.gif:0\r\na1:text.gif:0,100,100\r\n" + c.line + "\r\n";
        TCompositor compositor(ParsePlayerScript(script), pictures);
        std::printf("  %-22s", c.name);
        for (size_t i = 0; i < std::size(moments); ++i) {
            const double seconds =
                bench::MedianSeconds(runs, [&] { compositor.FrameAt(moments[i]); });
            slowest[i] = std::max(slowest[i], seconds);
            std::printf(" %6.2f", seconds * 1000);
        }
        std::printf("\n");
    }
    std::printf("  %-22s", "slowest");
    for (const double seconds : slowest)
        std::printf(" %6.2f", seconds * 1000);
    std::printf("\n");
}
