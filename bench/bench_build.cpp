// Speed of building a card with a 1920x1080 24-bit BMP background and a 640x480 GIF
// background, against ImageMagick reducing the same BMP alone to a 256-colour GIF of its own
// palette (`convert IN.bmp -colors 256 OUT.gif`). Prints medians and the build's peak memory.
//
//   bench_build [runs]

#include "BenchImages.h"
#include "BenchTiming.h"
#include "CardBuild.h"
#include "CardPackageFormat.h"
#include "QtPictureLoader.h"

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class Silent final : public BuildProgress, public InformationSink {
  public:
    void Show() override {}
    void Hide() override {}
    void Progresse(int) override {}
    void Labl(const std::string&) override {}
    void Information(const std::string&) override {}
};

struct Bench {
    std::string dir, programDir, bmp, gif, card;
    CardScript script;
};

void Prepare(Bench& b) {
    b.dir = bench::ScratchDir() + "/velmora-bench-build";
    b.programDir = b.dir + "/program/";
    fs::create_directories(b.programDir);
    fs::copy_file(fs::canonical("/proc/self/exe").parent_path() / "model.ex_",
                  b.programDir + "model.ex_", fs::copy_options::overwrite_existing);
    b.bmp = b.dir + "/photo.bmp";
    b.gif = b.dir + "/photo640.gif";
    b.card = b.dir + "/card";
    // The 24-bit photo-like picture with grain that bench_reduce measures too.
    const TrueColourPicture photo = GrainyPhoto(1920, 1080);
    ToImage(photo, photo.pixels).save(QString::fromStdString(b.bmp), "BMP");
    const BenchPicture small = PhotoLike(640, 480);
    TGifFile gif;
    gif.AddImage(small.colors, small.indices);
    gif.SaveToFile(b.gif);
    b.script.WriteEventRow(2, false, {"Background", b.bmp, "Blinds", "2"});
    b.script.WriteEventRow(3, false, {"Background", b.gif, "Zoom", "2"});
}

void BuildOnce(Bench& b) {
    QtPictureLoader pictures;
    Silent silent;
    PosixFileSystem files;
    std::vector<std::string> tempFiles;
    const TWorkDirLock workDir(b.programDir, TWorkDirLock::BesideProgram, [] {});
    if (!BuildCard(b.script, b.programDir + cardpackage::kStubName, workDir, b.card, tempFiles,
                   {pictures, silent, silent, files}))
        std::exit(1);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Bench b;
    Prepare(b);
    if (argc == 2 && std::string(argv[1]) == "--build-peak") {
        std::printf("%ld\n", bench::PeakGrowthBytes([&] { BuildOnce(b); }));
        return 0;
    }
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 9;
    // The distribution's ImageMagick itself, not a wrapper that may stand before it in PATH.
    const std::string convert =
        std::string(fs::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert") + " " + b.bmp +
        " -colors 256 " + b.dir + "/im.gif";
    if (std::system((convert + " 2>/dev/null").c_str()) != 0) {
        std::fprintf(stderr,
                     "ImageMagick's convert is needed as the peer (apt-get install imagemagick)\n");
        return 1;
    }
    auto [ours, peer] = bench::MedianPair(
        runs, [&] { BuildOnce(b); }, [&] { (void)std::system(convert.c_str()); });
    const long peak = bench::PeakInFreshProcess("--build-peak");
    std::printf("Card build (1920x1080 24-bit BMP + 640x480 GIF backgrounds) vs `%s`; %d runs "
                "each, medians\n",
                convert.c_str(), runs);
    std::printf("build %.1f ms, convert %.1f ms: the build takes %.2f of convert's time\n",
                ours * 1e3, peer * 1e3, ours / peer);
    std::printf("card %lld bytes; peak memory of a build: %.1f MB\n",
                (long long)fs::file_size(b.card), peak / 1e6);
    fs::remove_all(b.dir);
    return 0;
}
