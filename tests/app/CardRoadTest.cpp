// A card made from start to finish as a user makes one: inserted and edited with the real
// windows, saved, opened again and built into a card that its own player lists.

#include "FormsFixture.h"
#include "RunProgram.h"

namespace fs = std::filesystem;

namespace {

class CardRoadTest : public FormsTest {};

TEST_F(CardRoadTest, BackgroundPauseAndRestoreSavedOpenedAndBuilt) {
    fs::copy_file(VELMORA_MODEL_EXE, dir_ / "model.ex_");
    const fs::path folder = dir_ / "my pictures";
    const std::string sky = MakeBmp(folder / "sky.bmp", 64, 48);
    MakeBmp(folder / "other.bmp");
    TForm2& background = forms_.Form2;

    Insert("B&ackground Image");
    BrowseTo(*background.Browser, folder);
    ClickFile(*background.Browser, "sky.bmp");
    Pick(background.Transition->ComboBox1, "Blinds");
    QTest::keyClick(background.Transition->SpinEdit1, Qt::Key_Up);
    QTest::keyClick(background.Transition->SpinEdit1, Qt::Key_Up);
    Click(background.Button1);
    const EventCells backgroundRow = {"Background", folder.string() + "/sky.bmp", "Blinds", "3"};
    ASSERT_EQ(Rows()[1], backgroundRow);

    ClickFile(*background.Browser, "other.bmp"); // the editor is hidden but keeps its state
    DoubleClickRow(2);
    EXPECT_EQ(background.Browser->SelectedPath(), sky);
    EXPECT_EQ(background.Browser->FileListBox1->currentItem()->text(), "sky.bmp");
    EXPECT_EQ(background.Transition->ComboBox1->TransitionText(), "Blinds");
    EXPECT_EQ(background.Transition->SpinEdit1->value(), 3);
    Click(background.Button1);

    ClickRow(3);
    Insert("&Pause");
    QTest::keyClick(forms_.Form4.SpinEdit1, Qt::Key_Up);
    Click(forms_.Form4.Button1);
    Insert("&Restore Background");
    Pick(forms_.Form12.Transition->ComboBox1, "Zoom");
    Click(forms_.Form12.Button1);
    const std::vector<EventCells> made = {{"Open window", "None", "Zoom", "1"},
                                          backgroundRow,
                                          {"Pause", "None", "None", "2"},
                                          {"Restore Background", "", "Zoom", "1"},
                                          {"", "", "", ""}};
    ASSERT_EQ(Rows(), made);

    const std::string script = (dir_ / "card.vlm").string();
    dialogs_.FileAnswers = {script};
    MenuItem("&Save...");
    dialogs_.ConfirmAnswers = {true};
    ClickMain(4); // Clear All
    dialogs_.SaveChangesAnswers = {SaveChanges::Discard}; // the cleared list is not kept
    dialogs_.FileAnswers = {script};
    MenuItem("&Open...");
    EXPECT_EQ(Rows(), made);

    dialogs_.FileAnswers = {(dir_ / "card.exe").string()};
    ClickMain(3);
    EXPECT_EQ(dialogs_.Shown.back().Text, "The card has been successfully created");
    const ProgramRun list = RunProgram(dir_ / "card.exe", {"--list"}, dir_);
    EXPECT_EQ(list.ExitStatus, 0) << list.Err;
    EXPECT_NE(list.Out.find("fond2.gif\t"), std::string::npos) << list.Out;
}

} // namespace
