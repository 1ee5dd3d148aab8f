// Saving beside, then replacing: a save that fails at any step leaves the old file and no
// stray file beside it. The failures are real ones that stop root too (a file size limit, a
// directory in the way, a file where a directory should be).

#include "AtomicFile.h"
#include "FileIO.h"
#include "FileSizeLimit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class AtomicFileTest : public ::testing::Test {
protected:
    AtomicFileTest()
        : dir_(fs::temp_directory_path() /
               ("velmora-atomic-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::create_directories(dir_);
    }
    ~AtomicFileTest() override { fs::remove_all(dir_); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void ExpectError(const std::string& path, const std::string& bytes, const char* message) {
        try {
            WriteFileAtomically(path, Bytes(bytes));
            ADD_FAILURE() << "no error for " << path;
        } catch (const EInOutError& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }

    fs::path dir_;
};

TEST_F(AtomicFileTest, CreatesAndReplacesKeepingThePermissions) {
    const fs::path card = dir_ / "card.vlm";
    WriteFileAtomically(card.string(), Bytes("first\r\n"));
    EXPECT_EQ(Contents(card), "first\r\n");

    fs::permissions(card, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteFileAtomically(card.string(), Bytes(""));
    EXPECT_EQ(Contents(card), "");
    EXPECT_EQ(fs::status(card).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(), std::vector<std::string>{"card.vlm"});
}

TEST_F(AtomicFileTest, FailedWriteLeavesTheOldFileWhole) {
    const fs::path card = dir_ / "card.vlm";
    WriteFileAtomically(card.string(), Bytes("Open window\r\nZoom\r\n1\r\n"));
    {
        FileSizeLimit limit(8);
        ExpectError(card.string(), std::string(4096, 'x'), "Disk full");
    }
    EXPECT_EQ(Contents(card), "Open window\r\nZoom\r\n1\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"card.vlm"});
}

TEST_F(AtomicFileTest, FailuresToCreateOrToReplaceLeaveNothingBehind) {
    fs::create_directories(dir_ / "taken" / "inside"); // a directory where the file should go
    ExpectError((dir_ / "taken").string(), "new", "File access denied");
    EXPECT_TRUE(fs::is_directory(dir_ / "taken" / "inside"));

    std::ofstream(dir_ / "plain") << "a file";
    ExpectError((dir_ / "plain" / "card.vlm").string(), "new", "Path not found");
    ExpectError((dir_ / "missing" / "card.vlm").string(), "new", "Path not found");
    EXPECT_EQ(Names(), (std::vector<std::string>{"plain", "taken"}));
}

TEST_F(AtomicFileTest, SavingThroughALinkReplacesTheFileItNames) {
    fs::create_directories(dir_ / "real");
    std::ofstream(dir_ / "real" / "card.vlm") << "old";
    fs::create_symlink(dir_ / "real" / "card.vlm", dir_ / "link.vlm");
    WriteFileAtomically((dir_ / "link.vlm").string(), Bytes("new"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.vlm"));
    EXPECT_EQ(Contents(dir_ / "real" / "card.vlm"), "new");
}

TEST_F(AtomicFileTest, ANameNearTheSystemsLimitStillSaves) {
    const fs::path card = dir_ / (std::string(250, 'n') + ".vlm");
    WriteFileAtomically(card.string(), Bytes("x"));
    EXPECT_EQ(Contents(card), "x");
    EXPECT_EQ(Names().size(), 1u);
}

TEST_F(AtomicFileTest, WhatIsNotARegularFileIsRefusedAndKept) {
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0644), 0);
    fs::create_symlink(dir_ / "pipe", dir_ / "to-pipe");
    for (const char* name : {"pipe", "to-pipe"})
        ExpectError((dir_ / name).string(), "card", "File access denied");
    EXPECT_TRUE(fs::is_fifo(dir_ / "pipe"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"pipe", "to-pipe"}));
}

// A user who may write the folder but not the file is refused (a rename would replace it);
// whoever may replace a file leaves its owner and permissions as they were.
TEST_F(AtomicFileTest, AFileTheUserMayNotWriteIsKeptAndAReplacedOneKeepsItsOwner) {
    const fs::path card = dir_ / "card.vlm";
    std::ofstream(card) << "theirs";
    ::chmod(card.c_str(), 0444);
    ::chmod(dir_.c_str(), 0777);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(3); // nobody
        try {
            WriteFileAtomically(card.string(), Bytes("mine"));
        } catch (const EInOutError& e) {
            ::_exit(std::string(e.what()) == "File access denied" ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: replaced, 2: another error, 3: cannot drop root";
    EXPECT_EQ(Contents(card), "theirs");

    if (::geteuid() != 0) GTEST_SKIP() << "giving a file's owner back needs root";
    ASSERT_EQ(::chown(card.c_str(), 65534, 65534), 0);
    ::chmod(card.c_str(), 0640);
    WriteFileAtomically(card.string(), Bytes("new"));
    struct stat info {};
    ASSERT_EQ(::stat(card.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Contents(card), "new");
}

} // namespace
