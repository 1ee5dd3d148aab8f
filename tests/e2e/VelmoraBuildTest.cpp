// The sample card through the command-line builder and the real player: every kind of event,
// real pictures, sound and tune. The card is checked against its parts made independently:
// the package layout to the byte, and the pictures decoded by giflib.

#include "CardPackage.h"
#include "GifTestSupport.h"
#include "QtPictureLoader.h"
#include "QtTextImageRenderer.h"
#include "RunProgram.h"
#include "SoundTrackPeer.h"
#include "TinyMedia.h"

#include <gtest/gtest.h>

#include <QImage>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

const fs::path kSample = VELMORA_SAMPLE_DIR;

// A program directory of its own: the builder, the player stub and nothing else.
class VelmoraBuild : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::path(testing::TempDir()) / "velmora_e2e_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "program");
        fs::copy_file(VELMORA_BUILD_EXE, Program() / "velmora-build");
        fs::copy_file(VELMORA_MODEL_EXE, Program() / "model.ex_");
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Program() const { return dir_ / "program"; }
    ProgramRun Build(const fs::path& script, const fs::path& card, bool progress = false) {
        std::vector<std::string> args{script.string(), "-o", card.string()};
        if (progress) args.push_back("--progress");
        return RunProgram(Program() / "velmora-build", args, dir_);
    }
    // A script whose build takes a while: it packs a sound of 96 MB (a sparse file).
    fs::path SlowScript() {
        const fs::path wav = dir_ / "long.wav";
        std::ofstream(wav, std::ios::binary) << TinyWav("", (96 << 20) - 44);
        fs::resize_file(wav, 96 << 20); // silence the file system holds as a hole
        std::ofstream(dir_ / "slow.vlm", std::ios::binary)
            << "Open window\r\nZoom\r\n1\r\nSound effect\r\n" << wav.string() << "\r\n";
        return dir_ / "slow.vlm";
    }
    pid_t StartBuild(const fs::path& script, const fs::path& card, const fs::path& scratch) {
        fs::create_directories(scratch);
        return StartProgram(Program() / "velmora-build", {script.string(), "-o", card.string()}, scratch);
    }
    std::vector<std::string> ProgramDirFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Program())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

// RGB of every pixel of a GIF's first image, as giflib decodes it.
std::vector<TColorRGB> GiflibColours(std::span<const uint8_t> gif) {
    const giftest::PeerImage peer = giftest::DecodeWithGiflib({gif.begin(), gif.end()});
    EXPECT_EQ(peer.error, 0);
    std::vector<TColorRGB> rgb;
    for (uint8_t i : peer.pixels) rgb.push_back(peer.colors.at(i));
    return rgb;
}

std::vector<TColorRGB> Colours(const TPicture& picture) {
    std::vector<TColorRGB> rgb;
    for (TPlatformColor c : picture.Pixels) rgb.push_back(ColorToTriple(c));
    return rgb;
}

std::string Text(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

TEST_F(VelmoraBuild, TheSampleCardHoldsExactlyItsParts) {
    const fs::path card = dir_ / "birthday";
    const ProgramRun run = Build(kSample / "birthday.vlm", card);
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
    EXPECT_NE(run.Err.find("The card has been successfully created\n"), std::string::npos) << run.Err;
    EXPECT_EQ(ProgramDirFiles(), (std::vector<std::string>{"model.ex_", "velmora-build"}))
        << "every intermediate file is gone";

    const uint64_t stub = fs::file_size(Program() / "model.ex_");
    const TCardPackage package = TCardPackage::Load(card, stub);
    ASSERT_EQ(package.Files().size(), 5u);
    const std::vector<std::string> names{"fond2.gif", "Texte3.gif", "Wave4.wav", "Midi6.mid", "script.txt"};
    uint64_t sum = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(package.Files()[i].Name, names[i]);
        sum += package.Files()[i].Size;
    }
    EXPECT_EQ(package.PlayerScript(), "320\r\n200\r\ns1: :1000,320,200\r\nt5:fond2.gif:3000\r\n"
                                      "a3:Texte3.gif:2000,40,25\r\nWave:Wave4.wav\r\nWait:2000\r\n"
                                      "Midi:Midi6.mid\r\nt11:%:1000\r\n");
    EXPECT_EQ(fs::file_size(card), package.Files().front().Offset + sum) << "nothing after the last file";
    EXPECT_EQ(ReadWholeFile(card).substr(0, stub), ReadWholeFile(Program() / "model.ex_"));
    EXPECT_EQ(Text(package.Contents(package.Files()[2])), ReadWholeFile(kSample / "bell.wav"));
    EXPECT_EQ(Text(package.Contents(package.Files()[3])), ReadWholeFile(kSample / "tune.mid"));

    // The background is the sky reduced to 256 colours; the text image is the rendering of
    // the script's text on it.
    QtPictureLoader pictures;
    const TPicture sky = pictures.ReduceTo8Bits(pictures.Load((kSample / "sky.bmp").string()));
    EXPECT_EQ(GiflibColours(package.Contents(package.Files()[0])), Colours(sky));
    TDataTexte texte;
    texte.X = 40;
    texte.Y = 25;
    texte.Font = {"DejaVu Sans", 20, 255, {true, false, false, false}};
    texte.Alignment = taCenter;
    texte.Shadow = true;
    QtTextImageRenderer renderer(pictures);
    const std::vector<uint8_t> expected =
        renderer.Render((kSample / "sky.bmp").string(), "Happy\rBirthday\r", texte)->SaveToMemory();
    EXPECT_EQ(GiflibColours(package.Contents(package.Files()[1])), GiflibColours(expected));

    // The card's own player lists what it carries.
    const ProgramRun list = RunProgram(card, {"--list"}, dir_);
    EXPECT_EQ(list.ExitStatus, 0) << list.Err;
    std::string listing;
    for (const TPackedFile& f : package.Files()) listing += f.Name + "\t" + std::to_string(f.Size) + "\n";
    EXPECT_EQ(list.Out, listing + std::string(package.PlayerScript()));
}

TEST_F(VelmoraBuild, ProgressAndStops) {
    const ProgramRun run = Build(kSample / "birthday.vlm", dir_ / "card", true);
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("  0%\n     Initializing...\n 10%\n 20%\n     Saving Open Window ... Transition #1\n 35%\n", 0), 0u)
        << run.Out;
    EXPECT_NE(run.Out.find("     Compacting...\n 90%\n"), std::string::npos) << run.Out;

    // The sky moved away: the text cannot be rendered, so the script stops loading.
    std::string script = ReadWholeFile(kSample / "birthday.vlm");
    const std::string sky = (kSample / "sky.bmp").string();
    script.replace(script.find(sky), sky.size(), (dir_ / "moved.bmp").string());
    std::ofstream(dir_ / "moved.vlm", std::ios::binary) << script;
    const ProgramRun stopped = Build(dir_ / "moved.vlm", dir_ / "never");
    EXPECT_EQ(stopped.ExitStatus, 1);
    EXPECT_EQ(stopped.Err, "The picture '" + (dir_ / "moved.bmp").string() + "' has not been found.\n");
    EXPECT_FALSE(fs::exists(dir_ / "never"));

    std::ofstream(dir_ / "lf.vlm", std::ios::binary) << "Open window\nZoom\n1\n";
    const ProgramRun nothing = Build(dir_ / "lf.vlm", dir_ / "never");
    EXPECT_EQ(nothing.ExitStatus, 1);
    EXPECT_EQ(nothing.Err, "No card event was found in '" + (dir_ / "lf.vlm").string() + "'.\n");

    const ProgramRun missing = Build(dir_ / "no-such.vlm", dir_ / "never");
    EXPECT_EQ(missing.ExitStatus, 1);
    EXPECT_EQ(missing.Err, "File not found\n");
    EXPECT_EQ(RunProgram(Program() / "velmora-build", {"only-a-script.vlm"}, dir_).ExitStatus, 2);
}

// The sample card's frames rendered by its own player, against its pictures decoded by giflib
// and laid out by hand; the PNG frames read by Qt.
TEST_F(VelmoraBuild, TheSampleCardRendersItsPicturesPixelForPixel) {
    const fs::path card = dir_ / "birthday", frames = dir_ / "frames";
    ASSERT_EQ(Build(kSample / "birthday.vlm", card).ExitStatus, 0);
    const ProgramRun run = RunProgram(card, {"--render", frames.string(), "--fps", "10"}, dir_);
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
    EXPECT_EQ(run.Out, "91 frames written to " + frames.string() + "\n"); // 0 to 9000 ms

    const TCardPackage package = TCardPackage::Load(card, fs::file_size(Program() / "model.ex_"));
    const auto decode = [&](const char* name) {
        const std::span<const uint8_t> gif = package.Contents(*package.Find(name));
        return giftest::DecodeWithGiflib({gif.begin(), gif.end()});
    };
    const giftest::PeerImage sky = decode("fond2.gif"), text = decode("Texte3.gif");
    ASSERT_EQ(sky.width, 320);
    ASSERT_EQ(sky.height, 200);
    // The sky, with the text image at (40, 25) when `withText`.
    const auto expected = [&](bool withText) {
        QImage image(320, 200, QImage::Format_RGB888);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x) {
                const bool onText =
                    withText && x >= 40 && x < 40 + text.width && y >= 25 && y < 25 + text.height;
                const TColorRGB c =
                    onText ? text.colors[text.pixels[size_t((y - 25) * text.width + x - 40)]]
                           : sky.colors[sky.pixels[size_t(y * 320 + x)]];
                image.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
            }
        return image;
    };
    const auto frame = [&](const char* name) {
        return QImage(QString::fromStdString((frames / name).string()))
            .convertToFormat(QImage::Format_RGB888);
    };
    // 6000 ms: the text has landed and the card waits; 9000 ms, after the last line: the
    // background restored, the text cleared.
    EXPECT_EQ(frame("frame000060.png"), expected(true));
    EXPECT_EQ(frame("frame000090.png"), expected(false));
    QImage black(320, 200, QImage::Format_RGB888);
    black.fill(Qt::black);
    EXPECT_EQ(frame("frame000000.png"), black);
}

// The sample card's sound track from its own player: the engine's rendering of the bell at
// 6000 ms and of the tune at 8000 ms, as its lines have them; the card ends at 9000 ms.
TEST_F(VelmoraBuild, TheSampleCardsSoundTrackIsTheEnginesOwnRendering) {
    const fs::path card = dir_ / "birthday", track = dir_ / "track.wav";
    ASSERT_EQ(Build(kSample / "birthday.vlm", card).ExitStatus, 0);
    const ProgramRun run = RunProgram(card, {"--audio", track.string()}, dir_);
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
    const std::vector<SoundCue> cues = {{fileio::ReadFileBytes(kSample / "bell.wav"), 6000},
                                        {fileio::ReadFileBytes(kSample / "tune.mid"), 8000}};
    EXPECT_EQ(ReadWholeFile(track), Text(ExpectedSoundTrack(cues, 9000)));
}

// Two builds share the program directory's working files: the second waits for the first,
// and the card at their common output reads whole.
TEST_F(VelmoraBuild, ASecondBuildWaitsForTheFirst) {
    const fs::path card = dir_ / "card";
    const pid_t first = StartBuild(SlowScript(), card, dir_ / "first");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const ProgramRun second = FinishProgram("second", StartBuild(kSample / "birthday.vlm", card, dir_ / "second"),
                                            dir_ / "second");
    const ProgramRun firstRun = FinishProgram("first", first, dir_ / "first");
    EXPECT_EQ(firstRun.ExitStatus, 0) << firstRun.Err;
    EXPECT_EQ(second.ExitStatus, 0) << second.Err;
    const std::string waited = "Waiting for another build to finish...\n";
    EXPECT_NE((firstRun.Err + second.Err).find(waited), std::string::npos) << "the builds did not overlap";
    EXPECT_EQ(RunProgram(card, {"--list"}, dir_).ExitStatus, 0);
}

// Killed at any moment, a build leaves nothing beside its output: the card is made without a
// name and named only when whole.
TEST_F(VelmoraBuild, AKilledBuildLeavesNothingBesideTheOutput) {
    const fs::path script = SlowScript();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Build(script, dir_ / "whole").ExitStatus, 0);
    const auto whole = std::chrono::steady_clock::now() - start;
    fs::create_directories(dir_ / "out");
    for (int k = 1; k <= 6; ++k) {
        const pid_t pid = StartBuild(script, dir_ / "out" / "card", dir_ / "killed");
        std::this_thread::sleep_for(whole * k / 7);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        for (const auto& entry : fs::directory_iterator(dir_ / "out"))
            EXPECT_EQ(entry.path().filename(), "card") << "killed at " << k << "/7 of a build";
    }
}

TEST_F(VelmoraBuild, HostileInputsEndAtOnceInBoundedMemory) {
    // A text of 20 long lines in the largest font, far above and left of the 320 x 200 sky:
    // only its part on the picture is kept. A FIFO is no picture.
    const std::string sky = (kSample / "sky.bmp").string(), fifo = (dir_ / "fifo.bmp").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto build = [&](const std::string& picture) {
        std::string script = ReadWholeFile(kSample / "birthday.vlm"), lines(40, 'A');
        for (char c = 'B'; c < 'A' + 20; ++c) lines += '|' + std::string(40, c);
        script.replace(script.find("Happy|Birthday"), 14, lines);
        script.replace(script.find("40\r\n25\r\n255\r\n20\r\n"), 18, "-10000\r\n-10000\r\n255\r\n1000\r\n");
        script.replace(script.find(sky), sky.size(), picture);
        std::ofstream(dir_ / "big.vlm", std::ios::binary) << script;
        return RunProgram(Program() / "velmora-build", {(dir_ / "big.vlm").string(), "-o", (dir_ / "big").string()}, dir_, 30);
    };
    const ProgramRun far = build(sky);
    EXPECT_EQ(far.ExitStatus, 0) << far.Err;
    EXPECT_LT(far.PeakMemoryKb, 150 * 1024) << "kB";
    EXPECT_EQ(build(fifo).Err, "The picture '" + fifo + "' has not been found.\n");

    // A script through a pipe is read to its end: "-" and /dev/stdin build the same card.
    ASSERT_EQ(Build(kSample / "birthday.vlm", dir_ / "named").ExitStatus, 0);
    for (const std::string name : {"-", "/dev/stdin"}) {
        const std::string command = "cat '" + (kSample / "birthday.vlm").string() + "' | ./velmora-build " + name + " -o ../piped";
        EXPECT_EQ(RunProgram("/bin/sh", {"-c", "cd '" + Program().string() + "' && " + command}, dir_).ExitStatus, 0);
        EXPECT_EQ(ReadWholeFile(dir_ / "piped"), ReadWholeFile(dir_ / "named")) << name;
    }
}

} // namespace
