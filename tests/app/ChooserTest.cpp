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

} // namespace
