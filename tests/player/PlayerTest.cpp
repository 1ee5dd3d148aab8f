// The card player run for real: cards made by appending a package to this build's model.ex_,
// the plain player without a package, damaged and hostile cards, the frames it renders, and
// wrong arguments.

#include "CardPackageText.h"
#include "FileIO.h"
#include "GifUnit.h"
#include "PngFile.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Player : public ::testing::Test {
protected:
    void SetUp() override {
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

TEST_F(Player, WithoutOptionsSaysWhatTheCardHoldsAndThatPlayingComesLater) {
    const ProgramRun run = Start(Card(kPackage), {});
    EXPECT_EQ(run.ExitStatus, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, "Packed files in this card (3): fond2.gif Wave3.wav script.txt\n"
                       "Playing a card is not available in this version of the player; run it "
                       "with --list to see its player script.\n");
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
                                                 {"--render", "d", "--list"}}) {
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
// The card with that GIF at its top-left corner, black around.
TRgbImage SmallGifOnCard() {
    TRgbImage card(4, 3);
    for (int32_t y = 0; y < 2; ++y)
        std::copy_n("\0\0\0\xff\0\0\0\x80\xff", 9, card.Pixel(0, y));
    return card;
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramRun run = Start(Card(c.package), {"--render", (dir_ / "frames").string()});
        EXPECT_EQ(run.ExitStatus, 1);
        EXPECT_EQ(run.Err.rfind("This card is damaged. ", 0), 0u) << run.Err;
        EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
        EXPECT_LT(run.Err.size(), 300u);
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
