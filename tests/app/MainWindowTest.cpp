// The main window through its real widgets: clicks, keys and double-clicks on the grid, with
// scripted dialogs.

#include "DataCellDelegate.h"
#include "FakeDialogs.h"
#include "GifDecl.h"
#include "GridHands.h"
#include "menu.h"

#include <QAbstractItemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const EventCells kBackground = {"Background", "/cards/sky.bmp", "Blinds", "3"};
const EventCells kText = {"Text", "Happy\rBirthday\r", "Slide Left ", "2"};
const EventCells kPause = {"Pause", "None", "None", "5"};

// Stands for an event editor of a later window: records what the main window hands it.
class RecordingEditor final : public QWidget, public RowEditor {
public:
    QWidget& Window() override { return *this; }
    void FillFromRow(const CardEvent& row) override {
        if (failWith) throw EGifException(failWith);
        filledFrom.push_back(row.Cells);
    }
    std::vector<EventCells> filledFrom;
    const char* failWith = nullptr;
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
        : dir_(fs::temp_directory_path() /
               ("velmora-main-" +
                std::to_string(::getpid()))),
          form_(dialogs_, help_,
                ProgramFiles::AllIn((fs::create_directories(dir_), dir_.string() + "/"))) {
        form_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form_));
    }
    ~MainWindowTest() override { fs::remove_all(dir_); }

    QTableView* Grid() { return EventGrid(form_); }
    QPushButton* Button(int n) { return MainButton(form_, n); }
    void Click(int button) { QTest::mouseClick(Button(button), Qt::LeftButton); }
    QPoint RowCentre(int scriptRow) { return ::RowCentre(form_, scriptRow); }
    void ClickRow(int scriptRow) { ::ClickRow(form_, scriptRow); }
    void DoubleClickRow(int scriptRow) { ::DoubleClickRow(form_, scriptRow); }
    QAction* MenuItem(const QString& text) {
        for (QAction* menu : form_.menuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                if (item->text() == text) return item;
        ADD_FAILURE() << "no menu item " << text.toStdString();
        return nullptr;
    }

    // What the grid shows, the header first.
    std::vector<std::vector<std::string>> Shown() {
        const QAbstractItemModel* m = Grid()->model();
        std::vector<std::vector<std::string>> rows(1);
        for (int c = 0; c < m->columnCount(); ++c)
            rows[0].push_back(m->headerData(c, Qt::Horizontal).toString().toStdString());
        for (int r = 0; r < m->rowCount(); ++r) {
            rows.emplace_back();
            for (int c = 0; c < m->columnCount(); ++c)
                rows.back().push_back(m->index(r, c).data().toString().toStdString());
        }
        return rows;
    }
    std::vector<std::string> KindsShown() {
        std::vector<std::string> kinds;
        for (const auto& row : Shown())
            kinds.push_back(row[0]);
        return kinds;
    }
    // The grid's selection bar, as a script row.
    int BarRow() { return Grid()->currentIndex().row() + 1; }

    // Inserts an event at the selected row as the chooser and an editor do.
    void InsertEvent(const EventCells& cells) {
        form_.SetTarget(form_.SelectedRow(), false);
        form_.WriteEventRow(cells);
    }

    fs::path dir_;
    FakeDialogs dialogs_;
    FakeHelpViewer help_;
    TForm1 form_;
};

TEST_F(MainWindowTest, StartsWithTheWindowOpeningAndTheTrailingRowSelected) {
    EXPECT_EQ(Shown(), (std::vector<std::vector<std::string>>{
                           {"Effects Type", "Data", "Transition", "Timing"},
                           {"Open window", "None", "Zoom", "1"},
                           {"", "", "", ""}}));
    EXPECT_EQ(form_.SelectedRow(), 2);
    EXPECT_EQ(BarRow(), 2);
    EXPECT_EQ(form_.ProgramDir(), dir_.string() + "/");
    EXPECT_EQ(form_.focusWidget(), Button(1));
}

TEST_F(MainWindowTest, LayoutIsTheFixedReferenceLayout) {
    EXPECT_EQ(form_.windowTitle(), "Velmora");
    EXPECT_EQ(form_.centralWidget()->size(), QSize(398, 265));
    EXPECT_EQ(form_.minimumSize(), form_.maximumSize());
    EXPECT_EQ(qobject_cast<QGroupBox*>(form_.centralWidget())->title(), "Menu");
    const QStringList captions{"&Insert", "&Delete", "&Build Card", "&Clear All", "E&xit"};
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(Button(i + 1), nullptr);
        EXPECT_EQ(Button(i + 1)->text(), captions[i]);
        EXPECT_EQ(Button(i + 1)->size(), QSize(72, 25));
        if (i > 0) { // left to right, without overlapping
            EXPECT_GT(Button(i + 1)->x(), Button(i)->geometry().right());
        }
    }
    QTableView* grid = Grid();
    EXPECT_EQ(grid->size(), QSize(394, 219));
    EXPECT_GT(grid->y(), Button(1)->geometry().bottom());
    EXPECT_LE(grid->geometry().bottom(), 265);
    // The kind column is as wide as its longest label needs, the Data column gives way.
    EXPECT_GE(grid->columnWidth(0), 102);
    EXPECT_EQ(grid->columnWidth(0) + grid->columnWidth(1), 102 + 136);
    EXPECT_EQ(grid->columnWidth(2), 88);
    EXPECT_EQ(grid->columnWidth(3), 49);
    EXPECT_EQ(grid->rowHeight(0), 18);
    EXPECT_EQ(grid->horizontalHeader()->height(), 18);

    QStringList menus;
    for (QAction* menu : form_.menuBar()->actions()) {
        menus << menu->text();
        for (QAction* item : menu->menu()->actions())
            menus << (item->isSeparator() ? QString("-") : item->text());
    }
    EXPECT_EQ(menus, (QStringList{"&File", "&Open...", "&Save...", "&Build Card...",
                                  "Pre&view Card", "&Clear", "-", "E&xit", "&Edit", "&Undo",
                                  "&Redo", "&Help", "&Contents", "-", "&About..."}));
}

TEST_F(MainWindowTest, ClicksAndKeysMoveTheSelectionBarWhichNeverGoesAway) {
    InsertEvent(kBackground);
    InsertEvent(kPause);
    ClickRow(1);
    EXPECT_EQ(form_.SelectedRow(), 1);
    QTest::keyClick(Grid(), Qt::Key_Down);
    QTest::keyClick(Grid(), Qt::Key_Down);
    EXPECT_EQ(form_.SelectedRow(), 3);
    QTest::keyClick(Grid(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(form_.SelectedRow(), 4);
    QTest::keyClick(Grid(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(Grid(), Qt::Key_Up); // the header is not a row one can select
    EXPECT_EQ(form_.SelectedRow(), 1);

    ClickRow(2);
    const auto expectBarOnRow2 = [this](const char* after) {
        EXPECT_EQ(form_.SelectedRow(), 2) << after;
        const QModelIndexList bar = Grid()->selectionModel()->selectedRows();
        ASSERT_EQ(bar.size(), 1) << after;
        EXPECT_EQ(bar[0].row() + 1, 2) << after;
    };
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(50, 150));
    expectBarOnRow2("a click below the rows");
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(2));
    expectBarOnRow2("a Ctrl+click on the selected row");
}

TEST_F(MainWindowTest, InsertAndDeleteAreRefusedOnTheWindowOpeningRow) {
    QWidget chooser;
    form_.AttachChooser(chooser);
    ClickRow(1);
    Click(1);
    Click(2);
    EXPECT_EQ(
        dialogs_.Shown,
        (std::vector<ShownBox>{
            {"Information", "Information", "Impossible to insert an event before Card Opening."},
            {"Information", "Information", "You cannot delete the window opening Event."}}));
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(form_.isEnabled());
    EXPECT_EQ(KindsShown(), (std::vector<std::string>{"Effects Type", "Open window", ""}));
}

TEST_F(MainWindowTest, InsertOpensTheChooserOverTheDisabledMainWindow) {
    QWidget chooser;
    form_.AttachChooser(chooser);
    form_.move(40, 30);
    Click(1);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(chooser.pos(), form_.pos());
    EXPECT_FALSE(form_.isEnabled());
    EXPECT_TRUE(dialogs_.Shown.empty());
    form_.ChildWindowClosed();
    EXPECT_TRUE(form_.isEnabled());
}

TEST_F(MainWindowTest, TheSelectionBarFollowsTheEventWhenOneIsInsertedAtIt) {
    InsertEvent(kBackground);
    InsertEvent(kPause);
    EXPECT_EQ(BarRow(), 4);
    ClickRow(3);
    InsertEvent(kText);
    EXPECT_EQ(KindsShown(), (std::vector<std::string>{"Effects Type", "Open window", "Background",
                                                      "Text", "Pause", ""}));
    EXPECT_EQ(Shown()[3][1], "Happy Birthday "); // the message's lines, side by side
    EXPECT_EQ(form_.SelectedRow(), 4);
    EXPECT_EQ(BarRow(), 4);
}

TEST_F(MainWindowTest, DeleteLeavesTheTrailingRowAndStaysOnTheRowNumber) {
    InsertEvent(kBackground);
    InsertEvent(kPause);
    ClickRow(4); // the trailing row: nothing to delete, nothing said
    Click(2);
    EXPECT_EQ(KindsShown().size(), 5u);
    ClickRow(3); // the last event
    Click(2);
    EXPECT_EQ(KindsShown(),
              (std::vector<std::string>{"Effects Type", "Open window", "Background", ""}));
    EXPECT_EQ(form_.SelectedRow(), 3);
    EXPECT_EQ(BarRow(), 3);
    EXPECT_TRUE(dialogs_.Shown.empty());
}

TEST_F(MainWindowTest, ClearAllAsksFirstAndKeepsTheWindowOpening) {
    InsertEvent(kBackground);
    InsertEvent(kPause);
    form_.SetTarget(1, true);
    form_.WriteEventRow({"Open window", "None", "Slide down", "7"});
    form_.TempFiles() = {"/nowhere/Texte3.gif"};
    const auto before = Shown();
    const ShownBox question{"Confirm", "Confirm",
                            "Do you want to clear all the Events in the list ?"};

    dialogs_.ConfirmAnswers = {false};
    Click(4);
    EXPECT_EQ(Shown(), before);

    dialogs_.ConfirmAnswers = {true};
    MenuItem("&Clear")->trigger();
    EXPECT_EQ(dialogs_.Shown, (std::vector<ShownBox>{question, question}));
    EXPECT_EQ(Shown(), (std::vector<std::vector<std::string>>{
                           {"Effects Type", "Data", "Transition", "Timing"},
                           {"Open window", "None", "Slide down", "7"},
                           {"", "", "", ""}}));
    EXPECT_EQ(form_.SelectedRow(), 2);
    EXPECT_EQ(form_.TempFiles(), std::vector<std::string>{"/nowhere/Texte3.gif"});
}

TEST_F(MainWindowTest, DoubleClickOpensTheRowsEditorInReplaceMode) {
    RecordingEditor background;
    form_.RegisterEditor(EventKind::Background, background);
    InsertEvent(kBackground);
    InsertEvent(kPause);
    form_.move(60, 50);

    DoubleClickRow(3); // a Pause row: no editor has joined for it
    DoubleClickRow(4); // the trailing empty row
    EXPECT_TRUE(background.filledFrom.empty());
    EXPECT_TRUE(form_.isEnabled());

    DoubleClickRow(2);
    EXPECT_EQ(background.filledFrom, std::vector<EventCells>{kBackground});
    EXPECT_TRUE(background.isVisible());
    EXPECT_EQ(background.pos(), form_.pos());
    EXPECT_TRUE(form_.EditMode());
    EXPECT_EQ(form_.TargetRow(), 2);
    EXPECT_FALSE(form_.isEnabled());

    // The editor confirms: the row changes in place.
    const EventCells changed = {"Background", "/cards/sea.gif", "Unfold", "8"};
    form_.WriteEventRow(changed);
    form_.ChildWindowClosed();
    EXPECT_EQ(Shown()[2], std::vector<std::string>(changed.begin(), changed.end()));
    EXPECT_EQ(Shown().size(), 5u);
    EXPECT_EQ(form_.SelectedRow(), 2);
    EXPECT_TRUE(dialogs_.Shown.empty());
}

TEST_F(MainWindowTest, AnErrorInACommandIsShownAndTheWindowGoesOn) {
    RecordingEditor background;
    background.failWith = "Bad code";
    form_.RegisterEditor(EventKind::Background, background);
    InsertEvent(kBackground);

    DoubleClickRow(2);
    EXPECT_EQ(dialogs_.Shown, (std::vector<ShownBox>{{"Error", "", "Bad code"}}));
    EXPECT_FALSE(background.isVisible());
    EXPECT_TRUE(form_.isEnabled());
}

TEST_F(MainWindowTest, HelpContentsFromTheMenuAndF1AndTheAboutBox) {
    MenuItem("&Contents")->trigger();
    QTest::keyClick(&form_, Qt::Key_F1);
    EXPECT_EQ(help_.Shown, (std::vector<std::string>{"VLM Help.hlp", "VLM Help.hlp"}));

    MenuItem("&About...")->trigger();
    ASSERT_EQ(dialogs_.Shown.size(), 1u);
    EXPECT_EQ(dialogs_.Shown[0].Kind, "Plain");
    EXPECT_EQ(dialogs_.Shown[0].Caption, "VLM Builder");
    const QStringList lines = QString::fromStdString(dialogs_.Shown[0].Text).split('\r');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "         Velmora");
    EXPECT_EQ(lines[2], "              Version 1.2");
}

TEST_F(MainWindowTest, ClosingDeletesTheListedFilesAndThePlayerScriptOnly) {
    const auto touch = [](const fs::path& p) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "x";
        return p.string();
    };
    const std::string fond = touch(dir_ / "fond2.gif");
    const std::string texte = touch(dir_ / "Texte3.gif");
    const std::string elsewhere = touch(dir_ / "other" / "Wave4.wav");
    const std::string script = touch(dir_ / "script.txt");
    const std::string unlisted = touch(dir_ / "Midi5.mid");
    const std::string stub = touch(dir_ / "model.ex_");
    const std::string otherScript = touch(dir_ / "other" / "script.txt");
    fs::create_directories(dir_ / "fond6.gif"); // listed, but a directory
    form_.TempFiles() = {fond, (dir_ / "gone.gif").string(), texte, elsewhere,
                       (dir_ / "fond6.gif").string()};
    QSignalSpy closed(&form_, &TForm1::Closed);

    Click(5); // Exit
    EXPECT_FALSE(form_.isVisible());
    EXPECT_EQ(closed.count(), 1);
    for (const std::string& deleted : {fond, texte, elsewhere, script})
        EXPECT_FALSE(fs::exists(deleted)) << deleted;
    for (const std::string& kept : {unlisted, stub, otherScript})
        EXPECT_TRUE(fs::exists(kept)) << kept;
    EXPECT_TRUE(fs::is_directory(dir_ / "fond6.gif"));
    EXPECT_TRUE(dialogs_.Shown.empty());
}

TEST_F(MainWindowTest, ExitFromTheMenuClosesTheWindowToo) {
    QSignalSpy closed(&form_, &TForm1::Closed);
    MenuItem("E&xit")->trigger();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(MainWindowTest, ChangesShowInTheTitleAndExitAsksBeforeLosingThem) {
    QSignalSpy closed(&form_, &TForm1::Closed);
    InsertEvent(kPause);
    EXPECT_EQ(form_.windowTitle(), "*Velmora");
    ClickRow(2);
    Click(2); // deleted again: nothing to lose
    EXPECT_EQ(form_.windowTitle(), "Velmora");
    InsertEvent(kPause);

    // Cancel, or a Save whose file dialog is cancelled, keeps the window and the list.
    dialogs_.SaveChangesAnswers = {SaveChanges::Cancel, SaveChanges::Save};
    dialogs_.FileAnswers = {std::nullopt};
    Click(5);
    form_.close(); // the close box
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(KindsShown().size(), 4u);
    dialogs_.SaveChangesAnswers = {SaveChanges::Discard};
    MenuItem("E&xit")->trigger();
    EXPECT_EQ(closed.count(), 1);
    const ShownBox question{"SaveChanges", "Confirm",
                            "Do you want to save the changes to the card ?"};
    EXPECT_EQ(dialogs_.Shown, (std::vector<ShownBox>{question, question,
                                                     {"Save", ".vlm", "VLM Script (*.vlm)|*.vlm"},
                                                     question}));
}

TEST_F(MainWindowTest, SaveOffersTheLastNameAndOpenAsksFirst) {
    const std::string card = (dir_ / "card.vlm").string();
    InsertEvent(kPause);
    dialogs_.FileAnswers = {card};
    MenuItem("&Save...")->trigger();
    EXPECT_EQ(form_.windowTitle(), "card.vlm - Velmora");
    InsertEvent(kBackground);
    EXPECT_EQ(form_.windowTitle(), "*card.vlm - Velmora");

    // Saving from the question offers the script's name; the Open dialog follows.
    dialogs_.SaveChangesAnswers = {SaveChanges::Save};
    dialogs_.FileAnswers = {card, std::nullopt};
    MenuItem("&Open...")->trigger();
    EXPECT_EQ(dialogs_.Shown[1], (ShownBox{"SaveChanges", "Confirm",
                                           "Do you want to save the changes to 'card.vlm' ?"}));
    EXPECT_EQ(dialogs_.OfferedFileNames, (std::vector<std::string>{"", card, ""}));
    EXPECT_EQ(dialogs_.Shown.back().Kind, "Open");
    EXPECT_EQ(form_.windowTitle(), "card.vlm - Velmora");
    EXPECT_FALSE(form_.Modified());
}

// A path with a line break would split its record: the Save is refused with a notice, no file
// is written and the changes stay unsaved.
TEST_F(MainWindowTest, ASaveTheFileCannotHoldIsRefusedWithANotice) {
    InsertEvent({"Background", "/cards/sky\r.bmp", "Blinds", "3"});
    dialogs_.FileAnswers = {(dir_ / "card.vlm").string()};
    MenuItem("&Save...")->trigger();
    EXPECT_EQ(dialogs_.Shown.back().Kind, "Information");
    EXPECT_NE(dialogs_.Shown.back().Text.find("row 2"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "card.vlm"));
    EXPECT_TRUE(form_.Modified());
}

TEST_F(MainWindowTest, KeysActAsTheButtonsAndTheMenuItems) {
    QWidget chooser;
    form_.AttachChooser(chooser);
    InsertEvent(kPause);
    ClickRow(2);
    QTest::keyClick(Grid(), Qt::Key_Delete);
    EXPECT_EQ(KindsShown(), (std::vector<std::string>{"Effects Type", "Open window", ""}));
    QTest::keyClick(Grid(), Qt::Key_Insert);
    EXPECT_TRUE(chooser.isVisible());
    form_.ChildWindowClosed();
    chooser.hide();
    // Return presses the focused button, as Space does.
    auto* insert = form_.findChild<QPushButton*>("Button1");
    insert->setFocus();
    QTest::keyClick(insert, Qt::Key_Return);
    EXPECT_TRUE(chooser.isVisible());
    form_.ChildWindowClosed();

    const std::vector<std::tuple<const char*, QKeySequence, const char*>> keys = {
        {"&Open...", Qt::CTRL | Qt::Key_O, "*.vlm"},
        {"&Save...", Qt::CTRL | Qt::Key_S, ".vlm"},
        {"&Build Card...", Qt::CTRL | Qt::Key_B, "*.Exe"}};
    for (const auto& [item, key, dialog] : keys) {
        EXPECT_EQ(MenuItem(item)->shortcut(), key) << item;
        dialogs_.FileAnswers = {std::nullopt};
        QTest::keySequence(&form_, key);
        ASSERT_FALSE(dialogs_.Shown.empty()) << item;
        EXPECT_EQ(dialogs_.Shown.back().Caption, dialog) << item;
    }
    EXPECT_EQ(MenuItem("&Contents")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(MenuItem("E&xit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QSignalSpy closed(&form_, &TForm1::Closed);
    QTest::keySequence(&form_, QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(MainWindowTest, LongPathsKeepTheirFileNameAndKindsReadWhole) {
    const std::string path = "/home/someone/Pictures/Holidays/2023/Summer by the sea/sky.bmp";
    InsertEvent({"Background", path, "Blinds", "3"});
    InsertEvent({"Restore Background", "", "Zoom", "1"});
    EXPECT_EQ(Grid()->model()->index(1, 1).data(Qt::ToolTipRole).toString().toStdString(), path);
    ASSERT_NE(dynamic_cast<DataCellDelegate*>(Grid()->itemDelegateForColumn(1)), nullptr);
    const int width = Grid()->columnWidth(1) - 8;
    const QString shown = ElidePath(QString::fromStdString(path), Grid()->fontMetrics(), width);
    EXPECT_TRUE(shown.startsWith("/ho") && shown.endsWith("\u2026/sky.bmp")) << shown.toStdString();
    EXPECT_LE(Grid()->fontMetrics().horizontalAdvance(shown), width);
    // Whatever the width, the text fits, and the file name is whole whenever it can be.
    const QFontMetrics metrics = Grid()->fontMetrics();
    const QString white = "/home/ann/Pictures/white.bmp";
    for (int room = 0; room <= metrics.horizontalAdvance(white); ++room) {
        const QString cut = ElidePath(white, metrics, room);
        EXPECT_LE(metrics.horizontalAdvance(cut), room) << cut.toStdString();
        EXPECT_TRUE(metrics.horizontalAdvance("white.bmp") > room || cut.endsWith("white.bmp"));
    }
    // As wide as the grid's delegate asks for the widest kind.
    QStyleOptionViewItem cell;
    cell.initFrom(Grid());
    const QModelIndex restore = Grid()->model()->index(2, 0);
    EXPECT_GT(Grid()->columnWidth(0), Grid()->itemDelegate()->sizeHint(cell, restore).width());
}

} // namespace
