// The card player run for real: cards made by appending a package to this build's model.ex_,
// the plain player without a package, a damaged card, and wrong arguments.

#include "CardPackageText.h"
#include "FileIO.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int exitStatus = -1;
    std::string out, err;
};

std::string ReadText(const fs::path& path) {
    const std::vector<uint8_t> bytes = fileio::ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

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
        const std::string model = ReadText(VELMORA_MODEL_EXE);
        const fs::path card = dir_ / "Birthday card";
        const std::string bytes = model + package;
        fileio::WriteFileBytes(card,
                               {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
        fs::permissions(card, fs::perms::owner_all);
        return card;
    }

    // Runs a program with its output caught in files, so neither stream can block it.
    Outcome Start(const fs::path& program, std::vector<std::string> args) {
        const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        const int spawned =
            posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        Outcome run;
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(spawned);
            return run;
        }
        int status = 0;
        EXPECT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status)) << "the player did not exit normally: " << status;
        run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadText(out);
        run.err = ReadText(err);
        return run;
    }

    fs::path dir_;
};

const std::string kScript = "320\r\n200\r\ns1: :1000,320,200\r\nt5:fond2.gif:3000\r\n"
                            "Wave:Wave3.wav\r\n";
const std::string kPackage =
    PackageOf({{"fond2.gif", "GIF89a\x01\x02"}, {"Wave3.wav", ""}, {"script.txt", kScript}});

TEST_F(Player, ListsItsManifestAndPlayerScript) {
    const Outcome run = Start(Card(kPackage), {"--list"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "fond2.gif\t8\nWave3.wav\t0\nscript.txt\t" + std::to_string(kScript.size()) +
                           "\n" + kScript);
}

TEST_F(Player, WithoutOptionsSaysWhatTheCardHoldsAndThatPlayingComesLater) {
    const Outcome run = Start(Card(kPackage), {});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "Packed files in this card (3): fond2.gif Wave3.wav script.txt\n"
                       "Playing a card is not available in this version of the player; run it "
                       "with --list to see its player script.\n");
}

TEST_F(Player, ThePlainPlayerSaysItHoldsNoCard) {
    for (const char* option : {"--list", ""}) {
        SCOPED_TRACE(option);
        const Outcome run = Start(VELMORA_MODEL_EXE, *option ? std::vector<std::string>{option}
                                                             : std::vector<std::string>{});
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "This is the card player without a card: no package follows the "
                           "program in its file.\n");
    }
}

TEST_F(Player, ADamagedCardIsReportedNotPlayed) {
    const Outcome shortened = Start(Card(kPackage.substr(0, kPackage.size() - 1)), {"--list"});
    EXPECT_EQ(shortened.exitStatus, 1);
    EXPECT_EQ(shortened.out, "");
    EXPECT_EQ(shortened.err, "This card is damaged. Card package: the packed files need " +
                                 std::to_string(8 + kScript.size()) +
                                 " bytes after the manifest but the card file holds only " +
                                 std::to_string(7 + kScript.size()) + "\n");

    const Outcome garbage = Start(Card("MZ not a package"), {});
    EXPECT_EQ(garbage.exitStatus, 1);
    EXPECT_NE(garbage.err.find("no start marker"), std::string::npos) << garbage.err;
}

TEST_F(Player, RefusesUnknownArguments) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--play"}, {"--list", "--list"}, {"list"}}) {
        const Outcome run = Start(Card(kPackage), args);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Usage: "), std::string::npos) << run.err;
    }
}

} // namespace
