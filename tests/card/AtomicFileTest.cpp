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

} // namespace
