// The clean-up when the program ends: exactly the listed files that exist, and the player
// script in the program directory.

#include "TempFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class TempFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("velmora-tempfiles-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prog");
        fs::create_directories(root_ / "elsewhere");
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string Touch(const fs::path& relative) {
        const fs::path p = root_ / relative;
        std::ofstream(p) << "x";
        return p.string();
    }
    std::string ProgramDir() const { return (root_ / "prog").string() + "/"; }
    std::string Path(const fs::path& relative) const { return (root_ / relative).string(); }

    fs::path root_;
};

TEST_F(TempFilesTest, DeletesListedFilesThatExistAndThePlayerScriptOnly) {
    const std::string fond = Touch("prog/fond2.gif");
    const std::string texte = Touch("prog/Texte3.gif");
    const std::string wave = Touch("elsewhere/Wave4.wav");
    const std::string unlisted = Touch("prog/Texte9.gif");
    const std::string stub = Touch("prog/model.ex_");
    const std::string otherScript = Touch("elsewhere/script.txt");
    const std::string script = Touch("prog/script.txt");
    const std::string gone = Path("prog/Midi5.mid"); // listed, already deleted

    DeleteIntermediateFiles({fond, gone, texte, wave}, ProgramDir());

    for (const std::string& deleted : {fond, texte, wave, script})
        EXPECT_FALSE(fs::exists(deleted)) << deleted;
    for (const std::string& kept : {unlisted, stub, otherScript})
        EXPECT_TRUE(fs::exists(kept)) << kept;
}

TEST_F(TempFilesTest, LeavesDirectoriesAloneAndCopesWithNothingToDelete) {
    fs::create_directories(root_ / "prog/script.txt"); // a directory with the script's name
    fs::create_directories(root_ / "prog/fond2.gif");
    EXPECT_NO_THROW(DeleteIntermediateFiles({Path("prog/fond2.gif")}, ProgramDir()));
    EXPECT_TRUE(fs::is_directory(root_ / "prog/script.txt"));
    EXPECT_TRUE(fs::is_directory(root_ / "prog/fond2.gif"));

    EXPECT_NO_THROW(DeleteIntermediateFiles({}, Path("missing") + "/"));
}

} // namespace
