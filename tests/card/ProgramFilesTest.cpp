// Where the program finds its stub and help file and where builds work: beside it in the
// build folder, in its prefix and the user's cache once installed.

#include "BuildTexts.h"
#include "FileIO.h"
#include "ProgramFiles.h"
#include "WorkDirLock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ProgramFilesTest : public ::testing::Test {
  protected:
    ProgramFilesTest()
        : root_(fs::temp_directory_path() / ("velmora-places-" + std::to_string(::getpid()))) {
        fs::create_directories(root_ / "prefix/bin");
        ::setenv("HOME", (root_ / "home").c_str(), 1);
    }
    ~ProgramFilesTest() override {
        ::unsetenv("XDG_CACHE_HOME");
        fs::permissions(root_ / "prefix/bin", fs::perms::owner_all);
        fs::remove_all(root_);
    }
    std::string Dir(const std::string& relative) const { return (root_ / relative).string() + "/"; }

    fs::path root_;
};

TEST_F(ProgramFilesTest, TheBuildFolderHoldsEverythingWhileItCanBeWritten) {
    const std::string bin = Dir("prefix/bin");
    std::ofstream(bin + "model.ex_") << "stub";
    ::unsetenv("XDG_CACHE_HOME");
    const ProgramFiles files = LocateProgramFiles(bin);
    EXPECT_EQ(files.Stub, bin + "model.ex_");
    EXPECT_EQ(files.DataDir, bin);
    EXPECT_EQ(files.WorkDir, bin);
    EXPECT_EQ(files.WorkFolder, TWorkDirLock::BesideProgram);
    if (::geteuid() == 0) return; // root writes everywhere
    fs::permissions(root_ / "prefix/bin", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(LocateProgramFiles(bin).WorkDir, Dir("home/.cache/velmora/work"));
    EXPECT_EQ(LocateProgramFiles(bin).Stub, bin + "model.ex_");
}

TEST_F(ProgramFilesTest, InstalledTheFilesAreInThePrefixAndTheWorkInTheUsersCache) {
    // The cache folder: XDG_CACHE_HOME when it is absolute, else ~/.cache.
    const std::vector<std::pair<const char*, std::string>> caches = {
        {nullptr, Dir("home/.cache/velmora/work")},
        {"relative/cache", Dir("home/.cache/velmora/work")},
        {"/var/cache/someone/", "/var/cache/someone/velmora/work/"}};
    for (const auto& [xdg, work] : caches) {
        if (xdg)
            ::setenv("XDG_CACHE_HOME", xdg, 1);
        else
            ::unsetenv("XDG_CACHE_HOME");
        const ProgramFiles files = LocateProgramFiles(Dir("prefix/bin"));
        EXPECT_EQ(files.Stub, Dir("prefix/" VELMORA_INSTALL_STUBDIR) + "model.ex_");
        EXPECT_EQ(files.DataDir, Dir("prefix/" VELMORA_INSTALL_DATADIR));
        EXPECT_EQ(files.WorkDir, work) << (xdg ? xdg : "unset");
        EXPECT_EQ(files.WorkFolder, TWorkDirLock::UsersOwn);
    }
}

TEST_F(ProgramFilesTest, BuildsWorkOnlyInAWorkingFolderOfTheUsersOwnKeptPrivate) {
    const std::string work = Dir("home/.cache/velmora/work");
    const fs::path path = root_ / "home/.cache/velmora/work", elsewhere = root_ / "elsewhere";
    const auto refusal = [&]() -> std::string {
        try {
            TWorkDirLock(work, TWorkDirLock::UsersOwn, [] {});
        } catch (const EInOutError& e) {
            return e.what();
        }
        return "no refusal";
    };
    EXPECT_FALSE(TWorkDirLock::TryLock(work, TWorkDirLock::UsersOwn)) << "the clean-up makes nothing";
    EXPECT_FALSE(fs::exists(root_ / "home"));
    EXPECT_EQ(refusal(), "no refusal");
    for (const char* made : {"home", "home/.cache", "home/.cache/velmora/work"})
        EXPECT_EQ(fs::status(root_ / made).permissions(), fs::perms::owner_all) << made;
    fs::permissions(path, fs::perms::all); // left open to all, and made private again
    EXPECT_TRUE(TWorkDirLock::TryLock(work, TWorkDirLock::UsersOwn));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_all);

    // A link in its place is refused and what it names left as it is; the build folder beside
    // the program is shared as it stands.
    fs::remove(path);
    fs::create_directory(elsewhere);
    fs::permissions(elsewhere, fs::perms::all);
    fs::create_directory_symlink(elsewhere, path);
    EXPECT_EQ(refusal(), buildtext::WorkFolderIsLink(work));
    EXPECT_FALSE(TWorkDirLock::TryLock(work, TWorkDirLock::UsersOwn));
    EXPECT_TRUE(TWorkDirLock::TryLock(root_.string() + "/elsewhere/", TWorkDirLock::BesideProgram));
    EXPECT_EQ(fs::status(elsewhere).permissions(), fs::perms::all);

    if (::geteuid() != 0) GTEST_SKIP() << "a folder of another user needs root to make";
    fs::remove(path);
    fs::create_directory(path);
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    EXPECT_EQ(refusal(), buildtext::WorkFolderNotOwn(work));
}

} // namespace
