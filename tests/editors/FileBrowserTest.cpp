// The file browser through mouse and keys: what it lists, how it moves between folders, and
// how it finds a stored path again.

#include "EditorHands.h"

#include <QDir>
#include <QSignalSpy>

namespace fs = std::filesystem;

namespace {

class FileBrowserTest : public ::testing::Test {
protected:
    FileBrowserTest()
        : dir_(fs::temp_directory_path() / ("velmora-browse-" + std::to_string(::getpid()))),
          browser_(editortext::kPictureFilter, nullptr) {
        for (const char* name : {"sky.bmp", "SEA.BMP", "moon.Gif", "notes.txt", ".hidden.bmp"})
            MakeBmp(dir_ / name);
        for (const char* folder : {"pics", "Album"})
            fs::create_directories(dir_ / folder);
        browser_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&browser_));
    }
    ~FileBrowserTest() override { fs::remove_all(dir_); }

    std::string Told() { return told_.isEmpty() ? "-" : told_.takeFirst()[0].value<std::string>(); }

    fs::path dir_;
    FileBrowser browser_;
    QSignalSpy told_{&browser_, &FileBrowser::FileChosen};
};

TEST_F(FileBrowserTest, ListsTheFolderByMaskInEitherCaseAndJoinsPathsWithSlash) {
    BrowseTo(browser_, dir_);
    EXPECT_EQ(Files(browser_), (QStringList{"moon.Gif", "SEA.BMP", "sky.bmp"}));
    Pick(browser_.FilterComboBox1, "Bitmap (*.BMP)");
    EXPECT_EQ(Files(browser_), (QStringList{"SEA.BMP", "sky.bmp"}));
    Pick(browser_.FilterComboBox1, "Compuserve GIF (*.GIF)");
    EXPECT_EQ(Files(browser_), (QStringList{"moon.Gif"}));
    Pick(browser_.FilterComboBox1, "All files (*.BMP,*.GIF)");

    told_.clear();
    ClickFile(browser_, "sky.bmp");
    ClickFile(browser_, "sky.bmp"); // chosen again: the editor hears of it again
    EXPECT_EQ(browser_.SelectedPath(), (dir_ / "sky.bmp").string());
    EXPECT_EQ(Told(), (dir_ / "sky.bmp").string());
    EXPECT_EQ(Told(), (dir_ / "sky.bmp").string());

    BrowseTo(browser_, dir_ / "pics"); // the selection goes with the folder
    EXPECT_EQ(Told(), "");
    EXPECT_EQ(Told(), "-");
    EXPECT_TRUE(Files(browser_).isEmpty());
    EXPECT_EQ(browser_.SelectedPath(), "");
}

TEST_F(FileBrowserTest, KeysAndTheDriveSelectorMoveBetweenFolders) {
    browser_.ShowFolder(QString::fromStdString(dir_.string()));
    QTreeWidget* tree = browser_.DirectoryListBox1;
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down); // the first sub-folder, by name in either case
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(browser_.Folder().toStdString(), (dir_ / "Album").string());
    QTest::keyClick(tree, Qt::Key_Up); // its parent
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(browser_.Folder().toStdString(), dir_.string());
    QTest::keyClick(tree, Qt::Key_Backspace);
    EXPECT_EQ(browser_.Folder().toStdString(), dir_.parent_path().string());

    QComboBox* drives = browser_.DriveComboBox1;
    ASSERT_GE(drives->count(), 2);
    EXPECT_EQ(drives->itemText(0), "/");
    EXPECT_EQ(drives->itemText(1), QDir::homePath());
    drives->setFocus();
    QTest::keyClick(drives, Qt::Key_Home);
    QTest::keyClick(drives, Qt::Key_Down);
    EXPECT_EQ(browser_.Folder(), QDir::homePath());
    QTest::keyClick(drives, Qt::Key_Up);
    EXPECT_EQ(browser_.Folder(), "/");
}

TEST_F(FileBrowserTest, AStoredPathIsFoundAgainOrItsNearestFolderShown) {
    Pick(browser_.FilterComboBox1, "Bitmap (*.BMP)");
    const struct {
        fs::path stored, folder;
        const char* selected;
        int filter;
    } cases[] = {
        {dir_ / "sky.bmp", dir_, "sky.bmp", 1},
        {dir_ / "moon.Gif", dir_, "moon.Gif", 0}, // the filter lets the file be listed
        {dir_ / "gone.bmp", dir_, nullptr, 0},
        {dir_ / "pics" / "no" / "such" / "x.bmp", dir_ / "pics", nullptr, 0},
        {dir_ / "notes.txt", dir_, nullptr, 0}, // no entry lists it
    };
    for (const auto& c : cases) {
        told_.clear();
        browser_.SelectFile(c.stored.string());
        const std::string expected = c.selected ? (c.folder / c.selected).string() : "";
        EXPECT_EQ(browser_.Folder().toStdString(), c.folder.string()) << c.stored;
        EXPECT_EQ(browser_.SelectedPath(), expected) << c.stored;
        EXPECT_EQ(browser_.FilterComboBox1->currentIndex(), c.filter) << c.stored;
        EXPECT_EQ(Told(), expected) << c.stored; // once
        EXPECT_EQ(Told(), "-") << c.stored;
    }
}

} // namespace
