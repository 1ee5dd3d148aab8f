// The editors as the user meets them: opened for a new event or on a row, filled in with
// clicks and keys, confirmed or cancelled; over a fake host.

#include "EditorsFixture.h"
#include "GifDecl.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <fstream>

namespace fs = std::filesystem;

namespace {

class EditorsTest : public EditorsFixture {
protected:
    TForm2& Background() { return background_; }
    QLineEdit* FileName() { return Background().Browser->Edit1; }
    // The colour in the middle of the preview as it is drawn.
    QRgb PreviewColour() {
        return Background().Image1->grab().toImage().pixel(169 / 2, 113 / 2) & 0xFFFFFF;
    }
};

TEST_F(EditorsTest, BackgroundOkAsksForAPictureThenATransitionAndInsertsTheFullPath) {
    MakeBmp(dir_ / "pics" / "sky.bmp");
    host_.OpenNew(background_, 2);
    ASSERT_TRUE(Background().isVisible());
    Click(Background().Button1);
    BrowseTo(*Background().Browser, dir_ / "pics");
    ClickFile(*Background().Browser, "sky.bmp");
    Click(Background().Button1);
    EXPECT_EQ(dialogs_.Shown,
              (std::vector<ShownBox>{{"Information", "Information", editortext::kNoPicture},
                                     {"Information", "Information", editortext::kNoTransition}}));
    EXPECT_TRUE(Background().isVisible());
    EXPECT_EQ(Rows().size(), 2u);

    Pick(Background().Transition->ComboBox1, "Scroll Left ");
    QTest::keyClicks(Background().Transition->SpinEdit1, "7"); // typing is not an arrow
    QTest::keyClick(Background().Transition->SpinEdit1, Qt::Key_Up);
    Click(Background().Button1);
    const EventCells written = {"Background", (dir_ / "pics" / "sky.bmp").string(), "Scroll Left ",
                                "2"};
    EXPECT_EQ(Rows()[1], written);

    // A row whose transition is none of the list opens with none chosen, and OK says so.
    host_.EditScript("Change", [](CardScript& s) { s.Row(2).Cells[kColTransition] = "Sideways"; });
    host_.OpenOn(background_, 2);
    EXPECT_EQ(Background().Transition->ComboBox1->currentIndex(), -1);
    EXPECT_EQ(FileName()->text(), "sky.bmp");
    Click(Background().Button1);
    EXPECT_EQ(dialogs_.Shown.back().Text, editortext::kNoTransition);
    Click(Background().Button2);
    EXPECT_EQ(Rows()[1][kColTransition], "Sideways");
    EXPECT_TRUE(host_.Window().isEnabled());
}

TEST_F(EditorsTest, ThePreviewReadsByTheLastLetterAndSaysWhyWhenItCannot) {
    const fs::path pics = dir_ / "pics";
    MakeBmp(pics / "sky.BMP", 40, 30, qRgb(0, 0, 255));
    fs::copy_file(VELMORA_TEST_DATA "/gif/giflib/pic/solid2.gif", pics / "sun.gif");
    std::ofstream(pics / "notes.bmp") << "not a picture";
    fs::copy_file(pics / "sky.BMP", pics / "bmp-inside.GIF");
    const struct {
        const char* name;
        const char* failure; // nothing when the preview shows
    } cases[] = {
        {"sky.BMP", nullptr},
        {"sun.gif", nullptr},
        {"notes.bmp", "Bitmap image is not valid"},
        {"bmp-inside.GIF", kMsgBadVersion},
    };
    host_.OpenNew(background_, 2);
    BrowseTo(*Background().Browser, pics);
    for (const auto& c : cases) {
        ClickFile(*Background().Browser, c.name);
        EXPECT_EQ(Background().Image1->isVisible(), !c.failure) << c.name;
        EXPECT_EQ(Background().NoPreview->isVisible(), bool(c.failure)) << c.name;
        EXPECT_EQ(Background().PreviewFailure->text(), c.failure ? c.failure : "") << c.name;
    }
    ClickFile(*Background().Browser, "sky.BMP");
    EXPECT_EQ(Background().Image1->size(), QSize(169, 113));
    EXPECT_EQ(PreviewColour(), 0x0000FFu) << "stretched over the whole area";
    // A new background has no file, and so neither a preview nor the last one's failure.
    ClickFile(*Background().Browser, "notes.bmp");
    Click(Background().Button2);
    host_.OpenNew(background_, 2);
    EXPECT_TRUE(Background().NoPreview->isVisible());
    EXPECT_FALSE(Background().PreviewFailure->isVisible());
    EXPECT_EQ(Background().Browser->SelectedPath(), "");
    EXPECT_TRUE(dialogs_.Shown.empty());
}

TEST_F(EditorsTest, PreviewsOffAndANewBackgroundKeepTheTransitionAndTiming) {
    const fs::path pics = dir_ / "pics";
    MakeBmp(pics / "blue.bmp", 40, 30, qRgb(0, 0, 255));
    MakeBmp(pics / "red.bmp", 40, 30, qRgb(255, 0, 0));
    host_.OpenNew(background_, 2);
    BrowseTo(*Background().Browser, pics);
    ClickFile(*Background().Browser, "blue.bmp");
    Click(Background().CheckBox1);
    ClickFile(*Background().Browser, "red.bmp");
    EXPECT_EQ(FileName()->text(), "red.bmp");
    EXPECT_TRUE(Background().Image1->isVisible());
    EXPECT_EQ(PreviewColour(), 0x0000FFu) << "the last picture loaded";
    Pick(Background().Transition->ComboBox1, "Zoom");
    QTest::keyClick(Background().Transition->SpinEdit1, Qt::Key_Up);
    QTest::keyClick(Background().Transition->SpinEdit1, Qt::Key_Escape); // Escape cancels

    host_.OpenNew(background_, 2);
    EXPECT_EQ(FileName()->text(), "");
    EXPECT_TRUE(Background().NoPreview->isVisible() && !Background().Image1->isVisible());
    EXPECT_EQ(Background().Transition->ComboBox1->TransitionText(), "Zoom");
    EXPECT_EQ(Background().Transition->SpinEdit1->value(), 2);
    ClickFile(*Background().Browser, "red.bmp"); // still selected: choosing it again counts
    EXPECT_EQ(FileName()->text(), "red.bmp");
}

TEST_F(EditorsTest, PauseAndWindowOpeningWriteTheirRows) {
    AddRow(2, {"Text", "Hi\r", "Blinds", "2"});
    host_.EditScript("Change",
                      [](CardScript& s) { s.Row(2).DataTexte = std::make_unique<TDataTexte>(); });
    const TDataTexte* texte = host_.Script().Row(2).DataTexte.get();

    host_.OpenNew(pause_, 2); // a pause above the text moves it down with its objects
    QTest::keyClick(pause_.SpinEdit1, Qt::Key_Up);
    Click(pause_.Button1);
    host_.OpenOn(pause_, 2); // and opens again with its timing
    EXPECT_EQ(pause_.SpinEdit1->value(), 2);
    QTest::keyClick(pause_.SpinEdit1, Qt::Key_PageUp);
    Click(pause_.Button1);

    host_.EditScript("Change", [](CardScript& s) { s.Row(1).Cells[kColTransition] = "Fade"; });
    host_.OpenOn(windowOpening_, 1);
    Click(windowOpening_.Button1);
    EXPECT_EQ(Rows(), (std::vector<EventCells>{{"Open window", "None", "", "1"},
                                               {"Pause", "None", "None", "12"},
                                               {"Text", "Hi\r", "Blinds", "2"},
                                               {"", "", "", ""}}));
    EXPECT_EQ(host_.Script().Row(3).DataTexte.get(), texte);
    // Each OK is one step of the host's, inserting or replacing as the editor was opened.
    EXPECT_EQ(host_.Steps, (std::vector<std::string>{"Change", "Change", "Insert Pause",
                                                     "Edit Pause", "Change", "Edit Open window"}));
    EXPECT_TRUE(dialogs_.Shown.empty());
}

TEST_F(EditorsTest, CancelEscapeAndTheCloseBoxWriteNothing) {
    AddRow(2, {"Pause", "None", "None", "4"});
    AddRow(3, {"Restore Background", "", "Zoom", "5"});
    const auto before = Rows();
    const auto cancel = [&](int row, EditorWindow& editor, const std::function<void()>& way) {
        host_.OpenOn(editor, row);
        ASSERT_TRUE(editor.isVisible() && !host_.Window().isEnabled()) << row;
        way();
        EXPECT_TRUE(!editor.isVisible() && host_.Window().isEnabled()) << row;
    };
    cancel(1, windowOpening_, [&] { Click(windowOpening_.Button2); });
    cancel(2, pause_, [&] { QTest::keyClick(&pause_, Qt::Key_Escape); });
    cancel(3, restore_, [&] { restore_.close(); });
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(host_.Steps.size(), 2u) << "no step but the rows added";
}

TEST_F(EditorsTest, EveryEditorLooksAsItShould) {
    const auto name = [](QWidget* w) {
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        return w->objectName();
    };
    // `tabOrder` goes from the focused control round to it again.
    const auto expect = [&](QWidget& window, QSize client, const char* frame, bool fixed,
                            const char* tabOrder) {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_EQ(window.windowTitle(), "Velmora");
        EXPECT_EQ(window.size(), client);
        EXPECT_EQ(window.minimumSize() == window.maximumSize(), fixed);
        EXPECT_EQ(window.findChild<QGroupBox*>()->title(), frame);
        QStringList order{name(window.focusWidget())};
        for (QWidget* w = window.focusWidget()->nextInFocusChain(); order.size() < 12;
             w = w->nextInFocusChain()) {
            const bool inner = w->objectName().startsWith("qt_"); // a spin box's own text
            if ((w->focusPolicy() & Qt::TabFocus) && !inner) order << name(w);
            if (w == window.focusWidget()) break;
        }
        EXPECT_EQ(order.join(" ").toStdString(), tabOrder);
        window.hide();
    };
    expect(background_, {497, 289}, "Background Image", true,
           "&Cancel DriveComboBox1 DirectoryListBox1 FileListBox1 FilterComboBox1 Edit1 Preview "
           "Image ComboBox1 SpinEdit1 &OK &Cancel");
    expect(text_, {495, 289}, "Text ", true,
           "&Cancel ComboBox1 SpinEdit1 &Fonts Add &Shadow &Left &Centered &Right Memo1 &OK "
           "&Cancel");
    expect(sound_, {497, 289}, "Wave Sound File ", true,
           "&Cancel DriveComboBox1 DirectoryListBox1 FileListBox1 FilterComboBox1 Edit1 &Test "
           "Sound &OK &Cancel");
    expect(music_, {497, 289}, "Midi Music File", true,
           "&Cancel DriveComboBox1 DirectoryListBox1 FileListBox1 FilterComboBox1 Edit1 &Test "
           "Music &OK &Cancel");
    expect(pause_, {185, 116}, "Pause", true, "&Cancel SpinEdit1 &Ok &Cancel");
    expect(windowOpening_, {206, 141}, "Window Opening", true,
           "Cancel Ok ComboBox1 SpinEdit1 Cancel");
    expect(restore_, {206, 141}, "Clear Text", false,
           "ComboBox1 SpinEdit1 &Ok &Cancel ComboBox1");
}

} // namespace
