// The chooser that "&Insert" opens, with every window of the program as it starts.

#include "FormsFixture.h"

#include <QGroupBox>

namespace {

class ChooserTest : public FormsTest {
protected:
    TForm10& Chooser() { return forms_.Form10; }
};

TEST_F(ChooserTest, LooksAsItShouldAndOffersTheEditorsThatExist) {
    Main().move(70, 40);
    ClickMain(1);
    EXPECT_EQ(Chooser().pos(), Main().pos());
    EXPECT_EQ(Chooser().windowTitle(), "Velmora");
    EXPECT_EQ(Chooser().size(), QSize(142, 202));
    EXPECT_EQ(Chooser().findChild<QGroupBox*>()->title(), "Insert an event");
    EXPECT_FALSE(Chooser().windowFlags() & Qt::WindowMinMaxButtonsHint);
    QStringList buttons;
    for (QPushButton* b : Chooser().Buttons) {
        buttons << b->text() + (b->isEnabled() ? "" : " (off)");
        EXPECT_EQ(b->size(), QSize(131, 25));
    }
    EXPECT_EQ(buttons.join("|"), "B&ackground Image|&Text Message|&Wave File|&Midi Music "
                                 "File|&Pause|&Restore Background|&Cancel");
    EXPECT_EQ(Chooser().focusWidget(), Chooser().Buttons.back());
    Click(Chooser().Buttons.back());
}

TEST_F(ChooserTest, RestoreNeedsAPictureBackgroundAboveAndCancelChangesNothing) {
    ClickMain(1);
    Click(Chooser().Buttons[5]); // only the window opening above
    Click(Chooser().Buttons.back());
    AddRow(2, {"Background", "Previous", "Blinds", "3"});
    const auto before = Rows();
    ClickMain(1);
    Click(Chooser().Buttons[5]); // a background that names no picture
    const ShownBox refused{"Information", "Information",
                           "You must select the background before restoring it."};
    EXPECT_EQ(dialogs_.Shown, (std::vector<ShownBox>{refused, refused}));
    EXPECT_TRUE(Chooser().isVisible());
    EXPECT_FALSE(forms_.Form12.isVisible());
    EXPECT_FALSE(Main().isEnabled());
    Click(Chooser().Buttons.back());
    EXPECT_FALSE(Chooser().isVisible());
    EXPECT_TRUE(Main().isEnabled());
    EXPECT_FALSE(Main().EditMode());
    EXPECT_EQ(Rows(), before);
    DoubleClickRow(2); // the list works as before
    EXPECT_TRUE(forms_.Form2.isVisible());
    EXPECT_TRUE(Main().EditMode());
    Click(forms_.Form2.Button2);

    AddRow(2, {"Background", "/cards/sky.bmp", "Blinds", "3"});
    ClickMain(1);
    Click(Chooser().Buttons[5]);
    EXPECT_FALSE(Chooser().isVisible());
    EXPECT_TRUE(forms_.Form12.isVisible());
    EXPECT_EQ(forms_.Form12.pos(), Main().pos());
    EXPECT_FALSE(Main().isEnabled()) << "until the editor ends";
}

// Each kind's button opens its editor in the chooser's place, for a new event at the selected
// row; a double-click on a row of that kind opens the same editor on the row.
TEST_F(ChooserTest, EachChoiceAndEachRowOpenTheirKindsEditor) {
    const std::pair<EventCells, QWidget*> kinds[] = {
        {{"Background", "/cards/sky.bmp", "Blinds", "3"}, &forms_.Form2},
        {{"Text", "Hi\r", "Blinds", "2"}, &forms_.Form3},
        {{"Sound effect", "/cards/bell.wav", "None", "None"}, &forms_.Form5},
        {{"Music", "/cards/tune.mid", "None", "None"}, &forms_.Form8},
        {{"Pause", "None", "None", "4"}, &forms_.Form4},
        {{"Restore Background", "", "Zoom", "5"}, &forms_.Form12},
    };
    for (size_t i = 0; i < std::size(kinds); ++i)
        AddRow(int(i) + 2, kinds[i].first);
    const int trailing = Main().Script().RowCount() - 1;
    for (size_t i = 0; i < std::size(kinds); ++i) {
        QWidget& editor = *kinds[i].second;
        SCOPED_TRACE(kinds[i].first[kColKind]);
        ClickRow(trailing);
        ClickMain(1);
        Click(Chooser().Buttons[i]);
        EXPECT_TRUE(editor.isVisible() && !Chooser().isVisible() && !Main().isEnabled());
        EXPECT_EQ(editor.pos(), Chooser().pos());
        EXPECT_EQ(std::pair(Main().TargetRow(), Main().EditMode()), std::pair(trailing, false));
        QTest::keyClick(&editor, Qt::Key_Escape);
        DoubleClickRow(int(i) + 2);
        EXPECT_TRUE(editor.isVisible() && !Main().isEnabled());
        EXPECT_EQ(std::pair(Main().TargetRow(), Main().EditMode()), std::pair(int(i) + 2, true));
        QTest::keyClick(&editor, Qt::Key_Escape);
    }
    DoubleClickRow(1);
    EXPECT_TRUE(forms_.Form6.isVisible());
    QTest::keyClick(&forms_.Form6, Qt::Key_Escape);
    EXPECT_TRUE(Main().isEnabled());
    EXPECT_EQ(Rows().size(), std::size(kinds) + 2) << "nothing written";
    EXPECT_TRUE(dialogs_.Shown.empty());
}

} // namespace
