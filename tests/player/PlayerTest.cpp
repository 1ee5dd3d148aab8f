// The card player run for real: cards made by appending a package to this build's model.ex_,
// the plain player without a package, damaged and hostile cards, the frames it renders, and
// wrong arguments.

#include "AudioTestSupport.h"
#include "CardPackageText.h"
#include "FileIO.h"
#include "GifUnit.h"
#include "FileSizeLimit.h"
#include "MidiBuilder.h"
#include "PicturesAhead.h"
#include "PngFile.h"
#include "RunProgram.h"
#include "SoundTrackPeer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Player : public ::testing::Test {
protected:
    void SetUp() override {
        // No box or sound of a test reaches the desktop of whoever runs it; windows open on
        // SDL's offscreen driver only where a test asks for it.
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"})
            ::unsetenv(name);
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        ::setenv("SDL_RENDER_DRIVER", "software", 1);
        std::string pattern = (fs::path(testing::TempDir()) / "player_test_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The player's file with these bytes after it, executable like a built card.
    // Only the package is written again when the card exists, which keeps runs of many
    // cards quick.
    fs::path Card(const std::string& package) {
        const fs::path card = dir_ / "Birthday card";
        const uintmax_t model = fs::file_size(VELMORA_MODEL_EXE);
        if (!fs::exists(card)) fs::copy_file(VELMORA_MODEL_EXE, card);
        fs::resize_file(card, model);
        const int fd = ::open(card.c_str(), O_WRONLY | O_APPEND);
        EXPECT_EQ(::write(fd, package.data(), package.size()), ssize_t(package.size()));
        ::close(fd);
        fs::permissions(card, fs::perms::owner_all);
        return card;
    }

    ProgramRun Start(const fs::path& program, std::vector<std::string> args) {
        return RunProgram(program, std::move(args), dir_);
    }

    // Plays the card in a window of SDL's offscreen driver until `until` holds of its standard
    // error or 10 s have passed, then asks it to end as the close box does.
    ProgramRun Play(const fs::path& card, const std::function<bool(const std::string&)>& until) {
        ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
        // SDL unloads the message-bus library it loaded, with the memory that library keeps to
        // the end: the sanitized build's leak checker would blame the card for it.
        ::setenv("LSAN_OPTIONS", "detect_leaks=0", 1);
        const pid_t pid = StartProgram(card, {}, dir_);
        ::unsetenv("LSAN_OPTIONS");
        if (pid == 0) { // not started (the test has failed): kill(0) would end us all
            ::unsetenv("SDL_VIDEODRIVER");
            return {};
        }
        siginfo_t info{};
        for (int i = 0; i < 500 && !until(ReadWholeFile(dir_ / "stderr")); ++i) {
            if (::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                info.si_pid == pid)
                break;
            ::usleep(20'000);
        }
        ::kill(pid, SIGTERM);
        ::unsetenv("SDL_VIDEODRIVER");
        return FinishProgram(card, pid, dir_);
    }

    fs::path dir_;
};

const std::string kScript = "320\r\n200\r\ns1: :1000,320,200\r\nt5:fond2.gif:3000\r\n"
                            "Wave:Wave3.wav\r\n";
const std::string kPackage =
    PackageOf({{"fond2.gif", "GIF89a\x01\x02"}, {"Wave3.wav", ""}, {"script.txt", kScript}});

TEST_F(Player, ListsItsManifestAndPlayerScript) {
    const ProgramRun run = Start(Card(kPackage), {"--list"});
    EXPECT_EQ(run.ExitStatus, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, "fond2.gif\t8\nWave3.wav\t0\nscript.txt\t" + std::to_string(kScript.size()) +
                           "\n" + kScript);
}

TEST_F(Player, WithoutADisplayItSaysSo) {
    const ProgramRun run = Start(Card(PackageOf({{"script.txt", "0\r\n0\r\nWait:100\r\n"}})), {});
    EXPECT_EQ(run.ExitStatus, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "This card needs a display to play: neither DISPLAY nor WAYLAND_DISPLAY is "
                       "set. Run it on a desktop, or with --render DIR to write its frames.\n");
}

TEST_F(Player, ThePlainPlayerSaysItHoldsNoCard) {
    for (const char* option : {"--list", ""}) {
        SCOPED_TRACE(option);
        const ProgramRun run = Start(VELMORA_MODEL_EXE, *option ? std::vector<std::string>{option}
                                                             : std::vector<std::string>{});
        EXPECT_EQ(run.ExitStatus, 1);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "This is the card player without a card: no package follows the "
                           "program in its file.\n");
    }
}

TEST_F(Player, ADamagedCardIsReportedNotPlayed) {
    const ProgramRun shortened = Start(Card(kPackage.substr(0, kPackage.size() - 1)), {"--list"});
    EXPECT_EQ(shortened.ExitStatus, 1);
    EXPECT_EQ(shortened.Out, "");
    EXPECT_EQ(shortened.Err, "This card is damaged. Card package: the packed files need " +
                                 std::to_string(8 + kScript.size()) +
                                 " bytes after the manifest but the card file holds only " +
                                 std::to_string(7 + kScript.size()) + "\n");

    const ProgramRun garbage = Start(Card("MZ not a package"), {});
    EXPECT_EQ(garbage.ExitStatus, 1);
    EXPECT_NE(garbage.Err.find("no start marker"), std::string::npos) << garbage.Err;
}

TEST_F(Player, RefusesUnknownArguments) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--play"},
                                                 {"--list", "--list"},
                                                 {"list"},
                                                 {"--render"},
                                                 {"--list", "--render", "d"},
                                                 {"--render", "d", "--fps"},
                                                 {"--render", "d", "--fps", "0"},
                                                 {"--render", "d", "--fps", "1001"},
                                                 {"--render", "d", "--fps", "2x"},
                                                 {"--render", "d", "--until", "-1"},
                                                 {"--render", "d", "--fps", "5", "--fps", "5"},
                                                 {"--render", "d", "--list"},
                                                 {"--audio"},
                                                 {"--audio", "t.wav", "--list"}}) {
        const ProgramRun run = Start(Card(kPackage), args);
        EXPECT_EQ(run.ExitStatus, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find("Usage: "), std::string::npos) << run.Err;
    }
}

// A 3 x 2 GIF of three colours, and its pixels as the card shows them.
std::string SmallGif() {
    TColorTable colours;
    colours.Count = 16;
    colours.Colors[1] = {255, 0, 0};
    colours.Colors[2] = {0, 128, 255};
    TByteArray2D pixels(3, 2);
    for (int32_t i = 0; i < 6; ++i)
        pixels.Set(i % 3 + 1, i / 3 + 1, uint8_t(i % 3));
    TGifFile gif;
    gif.AddImage(colours, pixels);
    const std::vector<uint8_t> bytes = gif.SaveToMemory();
    return {bytes.begin(), bytes.end()};
}
// Its pixels, and the card of 4 x 3 with it at the top-left corner, black around.
TRgbImage SmallGifPixels() {
    TRgbImage picture(3, 2);
    for (int32_t y = 0; y < 2; ++y)
        std::copy_n("\0\0\0\xff\0\0\0\x80\xff", 9, picture.Pixel(0, y));
    return picture;
}
TRgbImage SmallGifOnCard() {
    TRgbImage card(4, 3);
    for (int32_t y = 0; y < 2; ++y)
        std::copy_n(SmallGifPixels().Pixel(0, y), 9, card.Pixel(0, y));
    return card;
}

// Pictures decoded ahead are those the card holds, asked for in order or not, and a damaged
// one fails when its own line asks for it.
TEST(PicturesAhead, AreThePicturesOfTheCard) {
    const std::string gif = SmallGif(),
                      package = PackageOf(
                          {{"fond2.gif", gif},
                           {"Texte3.gif", gif},
                           {"fond4.gif", "GIF89a"},
                           {"fond5.gif", gif},
                           {"script.txt",
                            "4\r\n3\r\nt1:fond2.gif:1\r\na1:Texte3.gif:1,0,0\r\nt1:fond4.gif:1\r\n"
                            "t1:fond5.gif:1\r\n"}});
    const TCardPackage card(std::vector<uint8_t>(package.begin(), package.end()), 0);
    const TCardTimeline timeline = ReadTimeline(card);
    for (const std::vector<std::string>& order :
         {std::vector<std::string>{"fond2.gif", "Texte3.gif", "fond4.gif", "fond5.gif"},
          {"fond5.gif", "Texte3.gif", "fond2.gif"}}) {
        TPicturesAhead ahead(card, timeline);
        for (const std::string& name : order) {
            if (name == "fond4.gif") {
                EXPECT_THROW(ahead.Picture(name), ECardPackageError);
                continue;
            }
            const std::shared_ptr<const TRgbImage> picture = ahead.Picture(name);
            ASSERT_TRUE(picture) << name;
            EXPECT_EQ(*picture, SmallGifPixels()) << name;
        }
    }
}

std::string Png(const TRgbImage& image) {
    const std::vector<uint8_t> bytes = PngBytes(image);
    return {bytes.begin(), bytes.end()};
}

TEST_F(Player, RendersItsFramesAtTheirMoments) {
    // Blinds over 1000 ms from black: black at 0 ms, the picture from 1000 ms on.
    const fs::path card = Card(
        PackageOf({{"fond2.gif", SmallGif()}, {"script.txt", "4\r\n3\r\nt5:fond2.gif:1000\r\n"}}));
    const struct {
        std::vector<std::string> options;
        size_t frames;
        bool endsOnThePicture;
    } cases[] = {
        {{}, 26, true},                               // 25 a second up to the card's end
        {{"--fps", "3"}, 4, true},                    // 0, 333, 666, 1000 ms
        {{"--fps", "5", "--until", "450"}, 4, false}, // 0, 200, 400, 450 ms
        {{"--until", "0", "--fps", "1000"}, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.options));
        const fs::path frames = dir_ / "frames";
        fs::remove_all(frames);
        std::vector<std::string> args{"--render", frames.string()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProgramRun run = Start(card, args);
        EXPECT_EQ(run.ExitStatus, 0) << run.Err;
        EXPECT_EQ(run.Out,
                  std::to_string(c.frames) + " frames written to " + frames.string() + "\n");
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(frames))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        ASSERT_EQ(files.size(), c.frames);
        char last[32];
        std::snprintf(last, sizeof last, "frame%06zu.png", c.frames - 1);
        EXPECT_EQ(files.back().filename(), last);
        EXPECT_EQ(ReadWholeFile(files.front()), Png(TRgbImage(4, 3)));
        EXPECT_EQ(ReadWholeFile(files.back()) == Png(SmallGifOnCard()), c.endsOnThePicture);
    }
}

TEST_F(Player, PlaysInItsWindowUntilAskedToEnd) {
    // The sound is no WAV: the card says so at its moment and plays on without it.
    const ProgramRun run =
        Play(Card(PackageOf({{"fond2.gif", SmallGif()},
                             {"Wave3.wav", "RIFF"},
                             {"script.txt", "4\r\n3\r\nt5:fond2.gif:100\r\nWave:Wave3.wav\r\n"}})),
             [](const std::string& err) { return err.find('\n') != std::string::npos; });
    EXPECT_EQ(run.ExitStatus, 0);
    EXPECT_EQ(
        run.Err,
        "The card plays on without \"Wave3.wav\": This is neither a WAV sound nor a MIDI tune.\n");
}

std::string Text(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// The sound track is the engine's own rendering of each sound and tune, laid at its moment.
TEST_F(Player, WritesItsSoundTrack) {
    using namespace audiotest;
    std::vector<int16_t> tone(4000), click(800, 9000);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = int16_t(20000 * std::sin(double(i) * 0.3));
    const std::vector<uint8_t> sound = RiffWave({Fmt(1, 1, 8000, 2, 16), {"data", Pcm16(tone)}});
    const std::vector<uint8_t> cut = RiffWave({Fmt(1, 1, 22050, 2, 16), {"data", Pcm16(click)}});
    midibuild::Track notes;
    notes.Note(0, 240, 0, 60).Note(120, 240, 9, 38);
    const std::vector<uint8_t> tune = midibuild::File(0, 480, {notes});
    const struct {
        std::string script;
        std::vector<SoundCue> cues;
        int64_t end;
    } cases[] = {
        // a sound cut by the next one 374 ms later, with a tune between
        {"0\r\n0\r\nWave:Wave2.wav\r\nWait:251\r\nMidi:Midi4.mid\r\nWait:123\r\n"
         "Wave:Wave6.wav\r\nWait:1500\r\n",
         {{sound, 0}, {tune, 251}, {cut, 374}},
         1874},
        {"0\r\n0\r\nWait:100\r\n", {}, 100}, // silence as long as the card
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const fs::path track = dir_ / "track.wav";
        const ProgramRun run = Start(Card(PackageOf({{"Wave2.wav", Text(sound)},
                                                     {"Midi4.mid", Text(tune)},
                                                     {"Wave6.wav", Text(cut)},
                                                     {"script.txt", c.script}})),
                                     {"--audio", track.string()});
        EXPECT_EQ(run.ExitStatus, 0) << run.Err;
        EXPECT_EQ(run.Out, "Sound track written to " + track.string() + "\n");
        EXPECT_EQ(ReadWholeFile(track), Text(ExpectedSoundTrack(c.cues, c.end)));
    }
    const ProgramRun run = Start(Card(PackageOf({{"script.txt", "0\r\n0\r\n"}})),
                                 {"--audio", (dir_ / "no such folder" / "t.wav").string()});
    EXPECT_EQ(run.ExitStatus, 1);
    EXPECT_EQ(run.Err.rfind("The sound track cannot be written. Cannot write ", 0), 0u) << run.Err;
}

// A full disk ends the sound track and the frames with an error, and the files they would have
// replaced stay whole.
TEST_F(Player, AFullDiskKeepsTheFilesItWouldReplace) {
    const fs::path card =
        Card(PackageOf({{"fond2.gif", SmallGif()}, {"script.txt", "4\r\n3\r\nt5:fond2.gif:100\r\n"}}));
    const fs::path track = dir_ / "track.wav", frame = dir_ / "frames" / "frame000000.png";
    fs::create_directories(dir_ / "frames");
    for (const fs::path& old : {track, frame})
        std::ofstream(old) << "old";
    const FileSizeLimit full(40); // less than a WAV header, or a PNG file's first two chunks
    for (const auto& args : {std::vector<std::string>{"--audio", track.string()},
                             std::vector<std::string>{"--render", (dir_ / "frames").string()}})
        EXPECT_EQ(Start(card, args).ExitStatus, 1) << args[0];
    for (const fs::path& old : {track, frame})
        EXPECT_EQ(ReadWholeFile(old), "old") << old;
}

const std::string kGoodScript = "4\r\n3\r\ns1: :100,4,3\r\nt6:fond2.gif:200\r\n"
                                "a2:Texte3.gif:200,1,1\r\nWait:100\r\nt11:%:200\r\n";

// What a damaged card may end with: the player's message and status 1, or, when the damage
// leaves a readable card, its frames.
void ExpectMessageOrFrames(const ProgramRun& run) {
    if (run.ExitStatus == 0) return;
    EXPECT_EQ(run.ExitStatus, 1) << run.Err;
    EXPECT_TRUE(run.Err.rfind("This card is damaged. ", 0) == 0 ||
                run.Err.rfind("The card cannot read its own file: ", 0) == 0)
        << run.Err;
}

TEST_F(Player, HostileCardsEndWithTheReadersMessage) {
    const std::string gif = SmallGif();
    const std::string good =
        PackageOf({{"fond2.gif", gif}, {"Texte3.gif", gif}, {"script.txt", kGoodScript}});
    std::string forged = good;
    forged.replace(forged.find("\r\n" + std::to_string(gif.size()) + "\r\n"), 4, "\r\n999");
    const struct {
        const char* what;
        std::string package;
        std::string message;
    } cases[] = {
        {"start marker flipped", "G" + good.substr(1), "Card package: no start marker"},
        {"a size forged", forged, "Card package: the packed files need"},
        {"cut short", good.substr(0, good.size() - 10), "but the card file holds only"},
        {"a name of megabytes", PackageOf({{std::string(3'000'000, 'n'), ""}, {"script.txt", ""}}),
         "manifest line 2: a line longer than 255 bytes, \"" + std::string(40, 'n') + "...\"\n"},
        {"a picture that is no GIF",
         PackageOf({{"fond2.gif", "GIF89a"}, {"Texte3.gif", gif}, {"script.txt", kGoodScript}}),
         "The picture \"fond2.gif\" cannot be read: "},
        {"a file the card lacks", PackageOf({{"fond2.gif", gif}, {"script.txt", kGoodScript}}),
         "Player script line 5: the card holds no file \"Texte3.gif\""},
        {"a damaged script line", PackageOf({{"script.txt", "4\r\n3\r\nt6:fond2.gif:2O0\r\n"}}),
         "Player script line 3 \"t6:fond2.gif:2O0\": the duration is not a whole number"},
    };
    const fs::path frames = dir_ / "frames", track = dir_ / "track.wav";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Rendered, heard and played in a window: each is refused before it starts, and
        // leaves no frame, no sound track.
        for (const ProgramRun& run :
             {Start(Card(c.package), {"--render", frames.string()}),
              Start(Card(c.package), {"--audio", track.string()}),
              Play(Card(c.package), [](const std::string&) { return false; })}) {
            EXPECT_EQ(run.ExitStatus, 1);
            EXPECT_EQ(run.Err.rfind("This card is damaged. ", 0), 0u) << run.Err;
            EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
            EXPECT_LT(run.Err.size(), 300u);
        }
        EXPECT_FALSE(fs::exists(frames) || fs::exists(track));
    }

    // Every byte of the package flipped in turn, and the package cut at every length.
    for (size_t i = 0; i < good.size(); ++i) {
        std::string flipped = good;
        flipped[i] = char(flipped[i] ^ (i % 2 ? 0x01 : 0x80));
        SCOPED_TRACE("byte " + std::to_string(i) + " flipped");
        fs::remove_all(dir_ / "f"); // new files: replacing old ones waits for the disk
        ExpectMessageOrFrames(
            Start(Card(flipped), {"--render", (dir_ / "f").string(), "--fps", "1"}));
    }
    for (size_t length = 1; length < good.size(); length += 3) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        const ProgramRun run = Start(Card(good.substr(0, length)), {"--list"});
        EXPECT_EQ(run.ExitStatus, 1);
        ExpectMessageOrFrames(run);
    }
}

TEST_F(Player, ReadsOnlyWhatItNeedsOfAHugeCard) {
    // 3 GB of packed sound that the file system holds as a hole: listing the card reads the
    // manifest and the player script alone.
    const std::string script = "0\r\n0\r\nWave:Wave2.wav\r\nWave:Wave3.wav\r\n";
    const std::string manifest =
        CrLfLines({"Fin du fichier executable", "Wave2.wav", "2147483647", "Wave3.wav",
                   "1000000000", "script.txt", std::to_string(script.size()), "Fin textes"});
    const fs::path card = Card(manifest);
    const int fd = ::open(card.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const off_t scriptAt = off_t(fs::file_size(card) + 3147483647ull);
    ASSERT_EQ(::pwrite(fd, script.data(), script.size(), scriptAt), ssize_t(script.size()));
    ::close(fd);

    const ProgramRun run = Start(card, {"--list"});
    EXPECT_EQ(run.ExitStatus, 0) << run.Err;
    EXPECT_EQ(run.Out, "Wave2.wav\t2147483647\nWave3.wav\t1000000000\nscript.txt\t" +
                           std::to_string(script.size()) + "\n" + script);
    EXPECT_LT(run.PeakMemoryKb, 64 * 1024) << "kB";
}

} // namespace
