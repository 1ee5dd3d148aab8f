// Quality and speed of the reduction to 256 colours that every BMP background goes through,
// against two peers reducing the same picture in the same run: pngquant (libimagequant,
// `pngquant --speed 3`, its default dithering) and ImageMagick (`convert IN.bmp -colors 256
// OUT.gif`, its default dithering). Prints, per picture, the PSNR and SSIM of each result to
// the source and the medians of the times.
//
//   bench_reduce [runs] [--shots DIR] [PICTURE[@X,Y]...]
//
// PICTURE: any picture Qt reads (real photographs, see photos.sh), measured after the
// generated ones.
// --shots DIR: writes DIR/sky-face-cartoon.png, the 640x480 sky, face and cartoon as source,
// ours, pngquant's and ImageMagick's side by side, DIR/detail.png, a corner of each enlarged 4
// times, and for each PICTURE DIR/NAME-detail.png, its 160x120 pixels from X,Y (its centre
// when not given) enlarged 4 times, in the same four columns.
#include "BenchImages.h"
#include "BenchTiming.h"
#include "GifUnit.h"
#include "Reduce256.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <array>
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

std::vector<TPlatformColor> FromPixels(const QImage& loaded) {
    return FromImage("", loaded).pixels;
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

// The mean structural similarity of red, green and blue (Gaussian window of 11 pixels,
// sigma 1.5, the constants of Wang et al.), over the window positions inside the picture.
double Ssim(const std::vector<TPlatformColor>& a, const std::vector<TPlatformColor>& b, int width,
            int height) {
    constexpr int kRadius = 5;
    if (width <= 2 * kRadius || height <= 2 * kRadius) return 1;
    double weights[2 * kRadius + 1], total = 0;
    for (int i = -kRadius; i <= kRadius; ++i) total += weights[i + kRadius] = std::exp(-i * i / (2 * 1.5 * 1.5));
    for (double& w : weights) w /= total;
    const size_t n = a.size();
    // Blurs a plane across, then down; only the rows and columns whose window fits are kept.
    auto blur = [&](const std::vector<double>& in) {
        std::vector<double> across(n), out(n);
        for (int y = 0; y < height; ++y)
            for (int x = kRadius; x < width - kRadius; ++x) {
                double sum = 0;
                for (int i = -kRadius; i <= kRadius; ++i) sum += weights[i + kRadius] * in[size_t(y * width + x + i)];
                across[size_t(y * width + x)] = sum;
            }
        for (int y = kRadius; y < height - kRadius; ++y)
            for (int x = kRadius; x < width - kRadius; ++x) {
                double sum = 0;
                for (int i = -kRadius; i <= kRadius; ++i) sum += weights[i + kRadius] * across[size_t((y + i) * width + x)];
                out[size_t(y * width + x)] = sum;
            }
        return out;
    };
    constexpr double c1 = (0.01 * 255) * (0.01 * 255), c2 = (0.03 * 255) * (0.03 * 255);
    double sum = 0;
    for (int shift : {0, 8, 16}) {
        std::vector<double> x(n), y(n), xx(n), yy(n), xy(n);
        for (size_t i = 0; i < n; ++i) {
            x[i] = double(a[i] >> shift & 0xFF);
            y[i] = double(b[i] >> shift & 0xFF);
            xx[i] = x[i] * x[i];
            yy[i] = y[i] * y[i];
            xy[i] = x[i] * y[i];
        }
        const auto mx = blur(x), my = blur(y), sxx = blur(xx), syy = blur(yy), sxy = blur(xy);
        for (int r = kRadius; r < height - kRadius; ++r)
            for (int c = kRadius; c < width - kRadius; ++c) {
                const size_t i = size_t(r * width + c);
                const double vx = sxx[i] - mx[i] * mx[i], vy = syy[i] - my[i] * my[i], cov = sxy[i] - mx[i] * my[i];
                sum += (2 * mx[i] * my[i] + c1) * (2 * cov + c2) /
                       ((mx[i] * mx[i] + my[i] * my[i] + c1) * (vx + vy + c2));
            }
    }
    return sum / (3.0 * double(width - 2 * kRadius) * double(height - 2 * kRadius));
}

// Ours, pngquant's and ImageMagick's reductions of a picture.
struct Result {
    QImage ours, pngquant, magick;
};

Result Measure(const TrueColourPicture& p, int runs, const std::string& dir) {
    const std::string bmp = dir + "/in.bmp", png = dir + "/in.png", gif = dir + "/out.gif",
                      quantized = dir + "/out.png";
    ToImage(p, p.pixels).save(QString::fromStdString(bmp), "BMP");
    ToImage(p, p.pixels).save(QString::fromStdString(png), "PNG");
    // The distribution's programs themselves, not wrappers that may stand before them in PATH.
    const std::string pngquant = "/usr/bin/pngquant --speed 3 --force --output " + quantized + " " + png;
    const std::string convert = "/usr/bin/convert " + bmp + " -colors 256 " + gif;
    auto run = [](const std::string& command) {
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "failed: %s\n", command.c_str());
            std::exit(1);
        }
    };
    std::vector<TPlatformColor> ours;
    const std::vector<double> seconds =
        bench::MedianEach(runs, {[&] { ours = ReduceTo256Colours(p.pixels, p.width, p.height); },
                                 [&] { run(pngquant); }, [&] { run(convert); }});
    const std::vector<TPlatformColor> quant = FromPixels(QImage(QString::fromStdString(quantized)));
    const std::vector<TPlatformColor> magick = ReadGif(gif);
    const std::set<TPlatformColor> colours(ours.begin(), ours.end());
    std::printf("%-26s %6.2f %6.2f %6.2f | %6.4f %6.4f %6.4f | %8.1f %8.1f %8.1f %6.2fx | %4zu\n",
                p.name.c_str(), Psnr(p.pixels, ours), Psnr(p.pixels, quant), Psnr(p.pixels, magick),
                Ssim(p.pixels, ours, p.width, p.height), Ssim(p.pixels, quant, p.width, p.height),
                Ssim(p.pixels, magick, p.width, p.height), seconds[0] * 1e3, seconds[1] * 1e3,
                seconds[2] * 1e3, seconds[1] / seconds[0], colours.size());
    std::fflush(stdout);
    return {ToImage(p, ours), ToImage(p, quant), ToImage(p, magick)};
}

// Four columns (source, ours, pngquant's, ImageMagick's) of the same 160x120 crop of each row's
// pictures, 4 times larger, where banding, grain and casts show.
constexpr int kZoom = 4, kCropW = 160, kCropH = 120;

void DrawDetailRow(QPainter& painter, int row, const std::array<const QImage*, 4>& four, int x, int y) {
    for (int k = 0; k < 4; ++k) {
        const QImage crop = four[size_t(k)]->copy(x, y, kCropW, kCropH);
        painter.drawImage(k * kCropW * kZoom, row * kCropH * kZoom, crop.scaled(kCropW * kZoom, kCropH * kZoom));
    }
}

void WriteDetail(const std::string& path, const QImage& source, const Result& r, int x, int y) {
    QImage detail(4 * kCropW * kZoom, kCropH * kZoom, QImage::Format_RGB32);
    QPainter zoomed(&detail);
    DrawDetailRow(zoomed, 0, {&source, &r.ours, &r.pngquant, &r.magick}, x, y);
    zoomed.end();
    detail.save(QString::fromStdString(path));
}

void WriteShots(const std::string& dir, const std::vector<std::pair<QImage, Result>>& rows) {
    const int w = rows[0].first.width(), h = rows[0].first.height();
    QImage sheet(4 * w, int(rows.size()) * h, QImage::Format_RGB32);
    QImage detail(4 * kCropW * kZoom, int(rows.size()) * kCropH * kZoom, QImage::Format_RGB32);
    QPainter whole(&sheet), zoomed(&detail);
    for (size_t i = 0; i < rows.size(); ++i) {
        const Result& r = rows[i].second;
        const std::array<const QImage*, 4> four = {&rows[i].first, &r.ours, &r.pngquant, &r.magick};
        for (int k = 0; k < 4; ++k) whole.drawImage(k * w, int(i) * h, *four[size_t(k)]);
        DrawDetailRow(zoomed, int(i), four, w / 2, h / 3);
    }
    whole.end();
    zoomed.end();
    sheet.save(QString::fromStdString(dir + "/sky-face-cartoon.png"));
    detail.save(QString::fromStdString(dir + "/detail.png"));
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
    for (const char* peer : {"/usr/bin/convert", "/usr/bin/pngquant"})
        if (!fs::exists(peer)) {
            std::fprintf(stderr, "%s is needed as a peer (apt-get install imagemagick pngquant)\n", peer);
            return 1;
        }
    const std::string dir = bench::ScratchDir() + "/velmora-bench-reduce";
    fs::create_directories(dir);
    if (!shots.empty()) fs::create_directories(shots);
    std::printf("ReduceTo256Colours against `pngquant --speed 3` and `convert IN.bmp -colors 256 OUT.gif`, "
                "%d runs each, medians; ratio: pngquant's time / ours\n",
                runs);
    std::printf("%-26s %6s %6s %6s | %6s %6s %6s | %8s %8s %8s %7s | %4s\n", "picture", "PSNR", "pq", "IM",
                "SSIM", "pq", "IM", "ms", "pq ms", "IM ms", "ratio", "cols");
    std::vector<std::pair<QImage, Result>> sheet;
    for (const auto& size : {std::pair{1920, 1080}, std::pair{640, 480}}) {
        for (auto make : {GrainyPhoto, SkyGradient, FacePhoto, SmoothCartoon}) {
            const TrueColourPicture p = make(size.first, size.second);
            const Result r = Measure(p, runs, dir);
            if (size.first == 640 && make != GrainyPhoto)
                sheet.emplace_back(ToImage(p, p.pixels), r);
        }
    }
    for (const std::string& argument : files) {
        // PICTURE@X,Y: where its detail crop starts.
        const size_t at = argument.rfind('@');
        const std::string file = argument.substr(0, at);
        const QImage image(QString::fromStdString(file));
        if (image.isNull()) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            continue;
        }
        const std::string name = fs::path(file).stem().string();
        const TrueColourPicture p = FromImage(name, image);
        const Result r = Measure(p, runs, dir);
        if (shots.empty()) continue;
        int x = (p.width - kCropW) / 2, y = (p.height - kCropH) / 2;
        if (at != std::string::npos) std::sscanf(argument.c_str() + at + 1, "%d,%d", &x, &y);
        WriteDetail(shots + "/" + name + "-detail.png", ToImage(p, p.pixels), r, x, y);
    }
    if (!shots.empty()) {
        WriteShots(shots, sheet);
        std::printf("columns: source, ours, pngquant, ImageMagick; written to %s\n", shots.c_str());
    }
    fs::remove_all(dir);
    return 0;
}
