// Quality and speed of the reduction to 256 colours that every BMP background goes through,
// against ImageMagick reducing the same picture (`convert IN.bmp -colors 256 OUT.gif`, its
// default dithering) in the same run. Prints, per picture, the PSNR of both results to the
// source and the medians of both times.
//
//   bench_reduce [runs] [--shots DIR] [PICTURE...]
//
// PICTURE: any picture Qt reads (real photographs), measured after the generated ones.
// --shots DIR: writes DIR/sky-face-cartoon.png, the 640x480 sky, face and cartoon as source,
// ours and ImageMagick's side by side, and DIR/detail.png, a corner of each enlarged 4 times.
#include "BenchImages.h"
#include "BenchTiming.h"
#include "GifUnit.h"
#include "Reduce256.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

TrueColourPicture FromImage(const std::string& name, const QImage& loaded) {
    const QImage image = loaded.convertToFormat(QImage::Format_RGB32);
    TrueColourPicture p{name, image.width(), image.height(), {}};
    for (int y = 0; y < p.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back(TPlatformColor(qRed(row[x])) | TPlatformColor(qGreen(row[x])) << 8 |
                               TPlatformColor(qBlue(row[x])) << 16);
    }
    return p;
}

std::vector<TPlatformColor> ReadGif(const std::string& path) {
    TGifFile gif;
    gif.LoadFromFile(path);
    const TIndexedBitmap bitmap = gif.ToBitmap();
    std::vector<TPlatformColor> pixels;
    for (uint8_t i : bitmap.Indices) {
        const TColorRGB c = bitmap.Palette[i];
        pixels.push_back(TPlatformColor(c.Red) | TPlatformColor(c.Green) << 8 |
                         TPlatformColor(c.Blue) << 16);
    }
    return pixels;
}

double Psnr(const std::vector<TPlatformColor>& a, const std::vector<TPlatformColor>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift : {0, 8, 16}) {
            const double d = double(a[i] >> shift & 0xFF) - double(b[i] >> shift & 0xFF);
            sum += d * d;
        }
    const double mse = sum / (3.0 * double(a.size()));
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

struct Result {
    QImage ours, theirs;
};

Result Measure(const TrueColourPicture& p, int runs, const std::string& dir) {
    const std::string in = dir + "/in.bmp", out = dir + "/out.gif";
    ToImage(p, p.pixels).save(QString::fromStdString(in), "BMP");
    // The distribution's ImageMagick itself, not a wrapper that may stand before it in PATH.
    const std::string convert = "/usr/bin/convert " + in + " -colors 256 " + out;
    std::vector<TPlatformColor> ours;
    const auto [oursSeconds, convertSeconds] = bench::MedianPair(
        runs, [&] { ours = ReduceTo256Colours(p.pixels, p.width, p.height); },
        [&] {
            if (std::system(convert.c_str()) != 0) std::exit(1);
        });
    const std::vector<TPlatformColor> theirs = ReadGif(out);
    const std::set<TPlatformColor> colours(ours.begin(), ours.end());
    std::printf("%-26s %8.2f %8.2f %9.1f %9.1f %7.3f %8zu\n", p.name.c_str(), Psnr(p.pixels, ours),
                Psnr(p.pixels, theirs), oursSeconds * 1e3, convertSeconds * 1e3,
                oursSeconds / convertSeconds, colours.size());
    std::fflush(stdout);
    return {ToImage(p, ours), ToImage(p, theirs)};
}

void WriteShots(const std::string& dir, const std::vector<std::pair<QImage, Result>>& rows) {
    fs::create_directories(dir);
    const int w = rows[0].first.width(), h = rows[0].first.height();
    QImage sheet(3 * w, int(rows.size()) * h, QImage::Format_RGB32);
    // A 160x120 corner of each, 4 times larger, where banding and grain show.
    constexpr int kZoom = 4, kCropW = 160, kCropH = 120;
    QImage detail(3 * kCropW * kZoom, int(rows.size()) * kCropH * kZoom, QImage::Format_RGB32);
    QPainter whole(&sheet), zoomed(&detail);
    for (size_t i = 0; i < rows.size(); ++i) {
        const QImage* three[3] = {&rows[i].first, &rows[i].second.ours, &rows[i].second.theirs};
        for (int k = 0; k < 3; ++k) {
            whole.drawImage(k * w, int(i) * h, *three[k]);
            const QImage crop = three[k]->copy(w / 2, h / 3, kCropW, kCropH);
            zoomed.drawImage(k * kCropW * kZoom, int(i) * kCropH * kZoom,
                             crop.scaled(kCropW * kZoom, kCropH * kZoom));
        }
    }
    whole.end();
    zoomed.end();
    sheet.save(QString::fromStdString(dir + "/sky-face-cartoon.png"));
    detail.save(QString::fromStdString(dir + "/detail.png"));
    std::printf("columns: source, ours, ImageMagick; written to %s\n", dir.c_str());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int runs = 7;
    std::string shots;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--shots" && i + 1 < argc)
            shots = argv[++i];
        else if (std::atoi(arg.c_str()) > 0)
            runs = std::max(3, std::atoi(arg.c_str()));
        else
            files.push_back(arg);
    }
    if (!fs::exists("/usr/bin/convert")) {
        std::fprintf(stderr,
                     "ImageMagick's convert is needed as the peer (apt-get install imagemagick)\n");
        return 1;
    }
    const std::string dir = bench::ScratchDir() + "/velmora-bench-reduce";
    fs::create_directories(dir);
    std::printf("ReduceTo256Colours against `/usr/bin/convert IN.bmp -colors 256 OUT.gif`, "
                "%d runs each, medians\n",
                runs);
    std::printf("%-26s %8s %8s %9s %9s %7s %8s\n", "picture", "PSNR", "IM PSNR", "ms", "IM ms",
                "ratio", "colours");
    std::vector<std::pair<QImage, Result>> sheet;
    for (const auto& size : {std::pair{1920, 1080}, std::pair{640, 480}}) {
        for (auto make : {GrainyPhoto, SkyGradient, FacePhoto, SmoothCartoon}) {
            const TrueColourPicture p = make(size.first, size.second);
            const Result r = Measure(p, runs, dir);
            if (size.first == 640 && make != GrainyPhoto)
                sheet.emplace_back(ToImage(p, p.pixels), r);
        }
    }
    for (const std::string& file : files) {
        const QImage image(QString::fromStdString(file));
        if (image.isNull()) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            continue;
        }
        Measure(FromImage(fs::path(file).filename().string(), image), runs, dir);
    }
    if (!shots.empty()) WriteShots(shots, sheet);
    fs::remove_all(dir);
    return 0;
}
