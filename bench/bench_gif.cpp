// Speed of the GIF codec against giflib on the same pictures in the same run.
// Prints medians; giflib's time divided by ours is the speed ratio (higher is better for us).
//
//   bench_gif [runs]
#include "BenchPictures.h"
#include "BenchTiming.h"

#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

namespace {

void GiflibDecode(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        std::fprintf(stderr, "giflib could not decode %s\n", path.c_str());
        std::exit(1);
    }
    DGifCloseFile(gif, &error);
}

void GiflibEncode(const BenchPicture& p, const std::string& path) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    const int size = p.colors.Count <= 2 ? 2 : p.colors.Count <= 16 ? 16 : 256;
    std::vector<GifColorType> entries(size_t(size), GifColorType{0, 0, 0});
    for (int i = 0; i < p.colors.Count; ++i)
        entries[size_t(i)] = {p.colors.Colors[i].Red, p.colors.Colors[i].Green, p.colors.Colors[i].Blue};
    ColorMapObject* map = GifMakeMapObject(size, entries.data());
    const int w = p.indices.XSize, h = p.indices.YSize;
    EGifPutScreenDesc(gif, w, h, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr);
    std::vector<GifPixelType> row(static_cast<size_t>(w));
    for (int y = 1; y <= h; ++y) {
        std::memcpy(row.data(), p.indices.RowData(y), size_t(w));
        EGifPutLine(gif, row.data(), w);
    }
    GifFreeMapObject(map);
    EGifCloseFile(gif, &error);
}

// Child mode: decode one file in a fresh process and print the growth of its peak
// resident memory, in bytes.
int MeasureDecodePeak(const std::string& path) {
    std::printf("%ld\n", bench::PeakGrowthBytes([&] { TGifFile().LoadFromFile(path); }));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--decode-peak") == 0) return MeasureDecodePeak(argv[2]);
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    const std::string dir = bench::ScratchDir();
    std::printf("GIF codec vs giflib %d.%d.%d, %d runs each, medians; files in %s\n\n", GIFLIB_MAJOR,
                GIFLIB_MINOR, GIFLIB_RELEASE, runs, dir.c_str());

    std::vector<BenchPicture> pictures;
    pictures.push_back(PhotoLike(1920, 1080));
    pictures.push_back(PhotoLike(640, 480));
    pictures.push_back(CartoonLike(1920, 1080));

    std::printf("%-20s %10s %10s %8s | %10s %10s %8s | %9s %10s\n", "picture", "decode ms", "giflib ms",
                "ratio", "encode ms", "giflib ms", "ratio", "gif bytes", "peak/pixel");
    for (const BenchPicture& p : pictures) {
        const std::string ours = dir + "/velmora-bench-ours.gif";
        const std::string theirs = dir + "/velmora-bench-giflib.gif";
        auto [encodeOurs, encodeGiflib] = bench::MedianPair(
            runs,
            [&] {
                TGifFile gif;
                gif.AddImage(p.colors, p.indices);
                gif.SaveToFile(ours);
            },
            [&] { GiflibEncode(p, theirs); });
        auto [decodeOurs, decodeGiflib] = bench::MedianPair(
            runs, [&] { TGifFile().LoadFromFile(ours); }, [&] { GiflibDecode(ours); });
        const long peak = bench::PeakInFreshProcess("--decode-peak " + ours);
        std::ifstream file(ours, std::ios::binary | std::ios::ate);
        const double pixels = double(p.indices.Bytes.Count);
        std::printf("%-20s %10.2f %10.2f %7.2fx | %10.2f %10.2f %7.2fx | %9lld %10.2f\n", p.name.c_str(),
                    decodeOurs * 1e3, decodeGiflib * 1e3, decodeGiflib / decodeOurs, encodeOurs * 1e3,
                    encodeGiflib * 1e3, encodeGiflib / encodeOurs, (long long)file.tellg(), peak / pixels);
        unlink(ours.c_str());
        unlink(theirs.c_str());
    }

    // The same photos interlaced: their decoding against giflib's, and against our own decoding
    // of the same picture not interlaced, the three timed in turn.
    std::printf("\n%-20s %10s %10s %8s | %10s %8s\n", "interlaced", "decode ms", "giflib ms", "ratio",
                "plain ms", "share");
    for (const BenchPicture& p : pictures) {
        if (p.colors.Count < 256) continue;
        const std::string plain = dir + "/velmora-bench-plain.gif";
        const std::string interlaced = dir + "/velmora-bench-interlaced.gif";
        for (const bool lace : {false, true}) {
            TGifFile gif;
            gif.AddImage(p.colors, p.indices);
            gif.Images.back()->Interlaced = lace;
            gif.SaveToFile(lace ? interlaced : plain);
        }
        const std::vector<double> t = bench::MedianEach(runs, {[&] { TGifFile().LoadFromFile(interlaced); },
                                                              [&] { GiflibDecode(interlaced); },
                                                              [&] { TGifFile().LoadFromFile(plain); }});
        std::printf("%-20s %10.2f %10.2f %7.2fx | %10.2f %7.0f%%\n", p.name.c_str(), t[0] * 1e3, t[1] * 1e3,
                    t[1] / t[0], t[2] * 1e3, 100 * t[2] / t[0]);
        unlink(plain.c_str());
        unlink(interlaced.c_str());
    }

    const BenchPicture& photo = pictures.front();
    const std::vector<TPlatformColor> rgb = ToPlatformColors(photo);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        TColorTable table;
        times.push_back(bench::Seconds([&] {
            BitmapToIndexed({photo.indices.XSize, photo.indices.YSize, rgb.data(), photo.indices.XSize}, table);
        }));
    }
    std::printf("\nBitmapToIndexed, %s, 256 colours: %.2f ms = %.0f megapixels/s\n", photo.name.c_str(),
                bench::Median(times) * 1e3, photo.indices.Bytes.Count / bench::Median(times) / 1e6);
    return 0;
}
