// File "&Save..." and "&Open..." from the main window's menu, with scripted dialogs, real
// files and a recording text renderer.

#include "FakeDialogs.h"
#include "FakeTextRenderer.h"
#include "FileSizeLimit.h"
#include "menu.h"

#include <QAbstractItemModel>
#include <QMenuBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using GridText = std::vector<std::vector<std::string>>;

const EventCells kPause = {"Pause", "None", "None", "5"};

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ScriptCommandsTest : public ::testing::Test {
protected:
    ScriptCommandsTest()
        : dir_(fs::temp_directory_path() /
               ("velmora-scriptcmd-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name())),
          form_(dialogs_, help_,
                ProgramFiles::AllIn((fs::create_directories(dir_), dir_.string() + "/"))) {
        form_.AttachTextImageRenderer(renderer_);
        form_.show();
        sky_ = (dir_ / "sky.bmp").string();
        std::ofstream(sky_) << "BM";
        // The list before each command: a background, a pause, the bar on the pause; saved,
        // so that no command asks about changes.
        Insert({"Background", sky_, "Blinds", "2"});
        Insert(kPause);
        form_.EditScript("Change", [](CardScript& s) { s.SetCurrentRow(3); });
        dialogs_.FileAnswers = {(dir_ / "start.vlm").string()};
        Menu("&Save...");
        fs::remove(dir_ / "start.vlm");
        dialogs_.Shown.clear();
        dialogs_.OfferedFileNames.clear();
    }
    ~ScriptCommandsTest() override { fs::remove_all(dir_); }

    void Insert(const EventCells& cells) {
        form_.SetTarget(form_.SelectedRow(), false);
        form_.WriteEventRow(cells);
    }
    void Menu(const QString& text) {
        for (QAction* menu : form_.menuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                if (item->text() == text) return item->trigger();
        ADD_FAILURE() << "no menu item " << text.toStdString();
    }
    // Opens a script file holding `text` through the menu.
    void Open(const std::string& text) {
        const fs::path file = dir_ / "card.vlm";
        std::ofstream(file, std::ios::binary) << text;
        dialogs_.FileAnswers = {file.string()};
        Menu("&Open...");
    }
    // What the grid shows below its header, with the row under the selection bar.
    GridText Shown() const {
        const QAbstractItemModel* m = form_.findChild<QTableView*>("StringGrid1")->model();
        GridText rows;
        for (int r = 0; r < m->rowCount(); ++r) {
            rows.emplace_back();
            for (int c = 0; c < m->columnCount(); ++c)
                rows.back().push_back(m->index(r, c).data().toString().toStdString());
        }
        return rows;
    }
    int BarRow() const {
        return form_.findChild<QTableView*>("StringGrid1")->currentIndex().row() + 1;
    }
    std::string TextRecord(const std::string& message) const {
        return "Text\r\n" + message +
               "\r\r\nMosaic\r\n2\r\n10\r\n20\r\n255\r\n12\r\nSerif\r\n"
               "0\r\n1\r\n0\r\n0\r\nRight\r\n0\r\n";
    }

    fs::path dir_;
    std::string sky_;
    FakeDialogs dialogs_;
    FakeHelpViewer help_;
    FakeTextRenderer renderer_;
    TForm1 form_;
};

TEST_F(ScriptCommandsTest, SaveWritesTheEventsAndLeavesTheListAlone) {
    const GridText before = Shown();
    dialogs_.FileAnswers = {std::nullopt, (dir_ / "card.vlm").string()};
    Menu("&Save..."); // cancelled: nothing is written
    EXPECT_FALSE(fs::exists(dir_ / "card.vlm"));
    Menu("&Save...");
    const ShownBox dialog{"Save", ".vlm", "VLM Script (*.vlm)|*.vlm"};
    EXPECT_EQ(dialogs_.Shown, (std::vector<ShownBox>{dialog, dialog}));
    EXPECT_EQ(Read(dir_ / "card.vlm"), "Open window\r\nZoom\r\n1\r\nBackground\r\n" + sky_ +
                                           "\r\nBlinds\r\n2\r\nPause\r\n5\r\n");
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(BarRow(), 3);
}

TEST_F(ScriptCommandsTest, FailedSaveKeepsTheOldFileAndReachesTheErrorBox) {
    const fs::path card = dir_ / "card.vlm";
    std::ofstream(card, std::ios::binary) << "Pause\r\n9\r\n";
    dialogs_.FileAnswers = {card.string()};
    {
        FileSizeLimit limit(4);
        Menu("&Save...");
    }
    ASSERT_EQ(dialogs_.Shown.size(), 2u);
    EXPECT_EQ(dialogs_.Shown[1], (ShownBox{"Error", "", "Disk full"}));
    EXPECT_EQ(Read(card), "Pause\r\n9\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2)
        << "only the picture and the old script";
}

TEST_F(ScriptCommandsTest, CancelledOpenLeavesTheListAsItWas) {
    const GridText before = Shown();
    dialogs_.FileAnswers = {std::nullopt};
    Menu("&Open...");
    EXPECT_EQ(dialogs_.Shown,
              (std::vector<ShownBox>{{"Open", "*.vlm", "VLM script (*.vlm)|*.vlm"}}));
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(form_.SelectedRow(), 3);
}

TEST_F(ScriptCommandsTest, OpenReplacesTheListAndRendersEveryText) {
    form_.TempFiles() = {"/elsewhere/fond2.gif"};
    Open("Open window\r\nSlide down\r\n4\r\nBackground\r\n" + sky_ + "\r\nUnfold\r\n3\r\n" +
         TextRecord("Dear|friend") + "Pause\r\n5\r\n");
    EXPECT_EQ(Shown(), (GridText{{"Open window", "None", "Slide down", "4"},
                                 {"Background", sky_, "Unfold", "3"},
                                 {"Text", "Dear friend ", "Mosaic", "2"},
                                 {"Pause", "None", "None", "5"},
                                 {"", "", "", ""}}));
    EXPECT_EQ(form_.SelectedRow(), 1);
    EXPECT_EQ(BarRow(), 1);
    ASSERT_EQ(renderer_.Requests.size(), 1u);
    EXPECT_EQ(renderer_.Requests[0].Picture, sky_);
    EXPECT_NE(form_.Script().Row(3).TextImage, nullptr);
    EXPECT_EQ(form_.TempFiles(),
              (std::vector<std::string>{"/elsewhere/fond2.gif", dir_.string() + "/Texte3.gif"}));
    EXPECT_EQ(dialogs_.Shown.size(), 1u) << "nothing but the dialog";
}

TEST_F(ScriptCommandsTest, MissingPictureIsToldOverTheRowsReadBefore) {
    fs::remove(sky_);
    Open("Open window\r\nZoom\r\n1\r\nBackground\r\n" + sky_ + "\r\nBlinds\r\n2\r\n" +
         TextRecord("Hi") + "Pause\r\n5\r\n");
    EXPECT_EQ(Shown(), (GridText{{"Open window", "None", "Zoom", "1"},
                                 {"Background", sky_, "Blinds", "2"},
                                 {"", "", "", ""}}));
    ASSERT_EQ(dialogs_.Shown.size(), 2u);
    EXPECT_EQ(dialogs_.Shown[1], (ShownBox{"Information", "Information",
                                           "The picture '" + sky_ + "' has not been found."}));
}

TEST_F(ScriptCommandsTest, BadNumberReachesTheErrorBoxWithTheListInOrder) {
    Open("Open window\r\nZoom\r\n1\r\nBackground\r\n" + sky_ +
         "\r\nBlinds\r\n2\r\n"
         "Text\r\nHi\r\r\nMosaic\r\n2\r\nten\r\n");
    ASSERT_EQ(dialogs_.Shown.size(), 2u);
    EXPECT_EQ(dialogs_.Shown[1], (ShownBox{"Error", "", "Invalid numeric input"}));
    EXPECT_EQ(Shown(), (GridText{{"Open window", "None", "Zoom", "1"},
                                 {"Background", sky_, "Blinds", "2"},
                                 {"", "", "", ""}}));
    EXPECT_EQ(BarRow(), 1);
}

// A file that yields no event leaves the list as it was, and says so or why.
TEST_F(ScriptCommandsTest, OpenThatReadsNoEventKeepsTheList) {
    const GridText before = Shown();
    const std::string noEvent =
        "No card event was found in '" + (dir_ / "card.vlm").string() + "'.";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"Open window\nZoom\n1\n", noEvent}, // line feeds only: one line that is no kind word
        {"GIF89a\x01\0\x01\0\x80\0\0", noEvent},
        {"Dear friend,\r\nsee you soon\r\n", noEvent},
        {TextRecord("Hi"), "The picture '' has not been found."}};
    for (const auto& [text, notice] : files) {
        dialogs_.Shown.clear();
        Open(text);
        EXPECT_EQ(dialogs_.Shown.back(), (ShownBox{"Information", "Information", notice}));
        EXPECT_EQ(Shown(), before);
        EXPECT_EQ(BarRow(), 3);
        EXPECT_FALSE(form_.Modified());
    }
}

TEST_F(ScriptCommandsTest, OpenOfAFileThatCannotBeOpenedKeepsTheList) {
    Open("Open window\r\nZoom\r\n1\r\nPause\r\n4\r\n");
    const GridText before = Shown();
    ASSERT_EQ(before.size(), 3u); // the two events and the trailing row
    dialogs_.FileAnswers = {(dir_ / "gone.vlm").string()};
    Menu("&Open...");
    EXPECT_EQ(dialogs_.Shown.back(), (ShownBox{"Error", "", "File not found"}));
    EXPECT_EQ(Shown(), before) << "a failed Open destroys no work";
}

// The script the program is started with: as File > Open once the file is chosen.
TEST_F(ScriptCommandsTest, AScriptGivenAtStartOpensAsOpenDoes) {
    const GridText before = Shown();
    form_.OpenScript((dir_ / "gone.vlm").string());
    EXPECT_EQ(dialogs_.Shown, (std::vector<ShownBox>{{"Error", "", "File not found"}}));
    EXPECT_EQ(Shown(), before);

    dialogs_.Shown.clear();
    std::ofstream(dir_ / "card.vlm", std::ios::binary)
        << "Open window\r\nZoom\r\n1\r\nPause\r\n4\r\n";
    form_.OpenScript((dir_ / "card.vlm").string());
    EXPECT_TRUE(dialogs_.Shown.empty()) << "no dialog: the file is given";
    EXPECT_EQ(Shown(), (GridText{{"Open window", "None", "Zoom", "1"},
                                 {"Pause", "None", "None", "4"},
                                 {"", "", "", ""}}));
    EXPECT_EQ(form_.windowTitle().toStdString(), "card.vlm - Velmora");
}

} // namespace

// Edit > Undo and Redo, by their keys: each names its step, an Open comes back with its file's
// name, and the unsaved-changes mark follows the list back to what was saved.
TEST_F(ScriptCommandsTest, UndoAndRedoTakeCommandsBackAndTheTitleFollows) {
    const QList<QAction*> edit = form_.menuBar()->actions()[1]->menu()->actions();
    const auto items = [&] {
        QStringList shown;
        for (QAction* item : edit)
            shown << item->text() + (item->isEnabled() ? "" : " (off)");
        return shown;
    };
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_)); // the keys need a window
    const auto key = [&](QKeySequence keys) { QTest::keySequence(&form_, keys); };
    const GridText start = Shown();
    EXPECT_EQ(items(), (QStringList{"&Undo Insert Pause", "&Redo (off)"}));

    Open("Open window\r\nZoom\r\n1\r\nBackground\r\n" + sky_ + "\r\nUnfold\r\n3\r\n" +
         TextRecord("Hi") + "Pause\r\n5\r\n");
    const GridText opened = Shown();
    form_.findChild<QTableView*>("StringGrid1")->selectRow(2);
    QTest::mouseClick(form_.findChild<QWidget*>("Button2"), Qt::LeftButton);
    const GridText deleted = Shown();
    EXPECT_EQ(form_.windowTitle(), "*card.vlm - Velmora");
    EXPECT_EQ(items(), (QStringList{"&Undo Delete", "&Redo (off)"}));

    key(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(Shown(), opened);
    EXPECT_EQ(form_.windowTitle(), "card.vlm - Velmora");
    EXPECT_EQ(items(), (QStringList{"&Undo Open", "&Redo Delete"}));
    key(Qt::CTRL | Qt::Key_Y);
    EXPECT_EQ(Shown(), deleted);
    key(Qt::CTRL | Qt::Key_Z);
    key(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(Shown(), start);
    EXPECT_EQ(form_.windowTitle(), "start.vlm - Velmora");
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    EXPECT_EQ(Shown(), opened);
    EXPECT_EQ(form_.windowTitle(), "card.vlm - Velmora");
}
