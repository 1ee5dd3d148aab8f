// The card player run for real: cards made by appending a package to this build's model.ex_,
// the plain player without a package, a damaged card, and wrong arguments.

#include "CardPackageText.h"
#include "FileIO.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    fs::path Card(const std::string& package) {
        const std::string model = ReadWholeFile(VELMORA_MODEL_EXE);
        const fs::path card = dir_ / "Birthday card";
        const std::string bytes = model + package;
        fileio::WriteFileBytes(card,
                               {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
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
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--play"}, {"--list", "--list"}, {"list"}}) {
        const ProgramRun run = Start(Card(kPackage), args);
        EXPECT_EQ(run.ExitStatus, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find("Usage: "), std::string::npos) << run.Err;
    }
}

} // namespace
