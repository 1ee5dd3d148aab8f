// A text message as the user writes it in the program: the text editor, then the placement
// window, where the label follows the pointer and a press places it; the way back when it
// cannot be placed; its one step in the main window's history and its way through Save and
// Open. The placement tests also run on a screen scaled by 2 (see CMakeLists.txt).

#include "FormsFixture.h"

#include <QWindow>

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <fstream>

namespace fs = std::filesystem;

namespace {

// Shaded from corner to corner, so that a text image cut at the wrong place shows it.
std::string MakeShadedBmp(const fs::path& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 160));
    EXPECT_TRUE(image.save(QString::fromStdString(path.string()), "BMP"));
    return path.string();
}

// A GIF model's first image as colours, row by row.
std::vector<QRgb> Pixels(const TGifFile& gif, QSize* size = nullptr) {
    const TIndexedBitmap b = gif.ToBitmap();
    if (size) *size = QSize(b.Width, b.Height);
    std::vector<QRgb> pixels;
    for (uint8_t i : b.Indices)
        pixels.push_back(qRgb(b.Palette[i].Red, b.Palette[i].Green, b.Palette[i].Blue));
    return pixels;
}

const TFont kChosen{"DejaVu Sans", 16, clBlack, {.Bold = true}};

class TextTest : public FormsTest {
protected:
    TextTest() {
        sky_ = MakeShadedBmp(dir_ / "sky.bmp", 120, 80);
        AddRow(2, {"Background", sky_, "Blinds", "1"});
    }
    TForm3& Editor() { return forms_.Form3; }
    TForm7& Placement() { return forms_.Form7; }

    // The message typed into an emptied memo, a line at a time.
    void Type(const QStringList& lines) {
        QTextEdit* memo = Editor().Memo1;
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_Delete);
        for (const QString& line : lines) {
            QTest::keyClicks(memo, line);
            QTest::keyClick(memo, Qt::Key_Return);
        }
    }
    // A new text at `row`: the lines, the chosen font, centred, with a shadow, "Slide Down".
    void InsertText(int row, const QStringList& lines, bool shadow = true) {
        ClickRow(row);
        Insert("&Text Message");
        Type(lines);
        dialogs_.FontAnswers = {kChosen};
        Click(Editor().Button3);
        Click(Editor().RadioGroup1[1]);
        if (Editor().CheckBox1->isChecked() != shadow) Click(Editor().CheckBox1);
        Pick(Editor().Transition->ComboBox1, "Slide Down");
        Click(Editor().Button1);
    }
    // The pointer over the placement window, through the window system: the widget under it,
    // picture or label, hears of it. `at` is in picture pixels, the window's logical pixels.
    void MoveTo(QPoint at) { QTest::mouseMove(Placement().windowHandle(), at); }
    void PressAt(QPoint at) {
        QTest::mouseClick(Placement().windowHandle(), Qt::LeftButton, {}, at);
    }

    // What the list holds beyond its cells: the rows' objects, the temporary files, the
    // selection and whether there are unsaved changes.
    auto Beyond() {
        std::vector<const void*> objects;
        for (int r = 1; r < Main().Script().RowCount(); ++r)
            objects.insert(objects.end(), {Main().Script().Row(r).DataTexte.get(),
                                           Main().Script().Row(r).TextImage.get()});
        return std::tuple(objects, Main().TempFiles(), Main().SelectedRow(), Main().Modified());
    }

    std::string sky_;
};

TEST_F(TextTest, OkChecksTheTransitionThenABackgroundAboveAndUsesTheNearestPicture) {
    const std::string far = MakeBmp(dir_ / "far.bmp", 50, 40, qRgb(255, 0, 0));
    AddRow(2, {"Background", far, "Blinds", "1"}); // row 2 far, row 3 the sky
    AddRow(4, {"Background", "Previous", "Blinds", "1"});
    AddRow(5, {"Pause", "None", "None", "1"});
    ClickRow(2);
    Insert("&Text Message");
    Click(Editor().Button1);
    Pick(Editor().Transition->ComboBox1, "Slide Left ");
    Click(Editor().Button1); // the backgrounds at the target row and below do not count
    EXPECT_EQ(dialogs_.Shown,
              (std::vector<ShownBox>{{"Information", "Information", editortext::kNoTransition},
                                     {"Information", "Information", editortext::kNoBackground}}));
    EXPECT_TRUE(Editor().isVisible());
    Click(Editor().Button2);

    ClickRow(5);
    Insert("&Text Message"); // the editor kept its transition
    Type({"Happy", "Birthday"});
    Click(Editor().Button1);
    EXPECT_EQ(dialogs_.Shown.back().Text, "Now place the text on the background");
    EXPECT_EQ(Rows()[4], (EventCells{"Text", "Happy\rBirthday\r", "Slide Left ", "1"}));
    EXPECT_TRUE(!Editor().isVisible() && !Main().isEnabled());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Placement()));
    EXPECT_EQ(Placement().size(), QSize(120, 80)) << "the sky, not the far picture";
    EXPECT_TRUE(Placement().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Placement().windowHandle()->transientParent(), Main().windowHandle());
    EXPECT_FALSE(Placement().windowFlags() & Qt::WindowMinMaxButtonsHint);
}

TEST_F(TextTest, TheLabelFollowsThePointerAndAPressPlacesItWhatTheWindowShows) {
    InsertText(3, {"Hi", "there"}, false);
    const int ratio = std::max(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR"));
    ASSERT_EQ(Placement().devicePixelRatio(), ratio);
    QWidget* label = Placement().Label1;
    MoveTo({10, 5}); // over the picture
    EXPECT_EQ(label->pos(), QPoint(10, 5));
    MoveTo({13, 9}); // now over the label, 3 and 4 pixels into it
    EXPECT_EQ(label->pos(), QPoint(13, 9));
    const QSize labelSize = label->size();
    const QImage shown = Placement().grab().toImage();
    ASSERT_EQ(shown.size(), QSize(120, 80) * ratio) << "the picture at its natural size";

    Placement().Placing = false;
    MoveTo({40, 30});
    EXPECT_EQ(label->pos(), QPoint(13, 9)) << "the label only follows while placing";
    PressAt({40, 30}); // over the picture, placing off: still a capture where the label is
    const CardEvent& row = Main().Script().Row(3);
    ASSERT_TRUE(row.DataTexte && row.TextImage);
    EXPECT_EQ(row.DataTexte->Font, kChosen);
    EXPECT_EQ(row.DataTexte->Alignment, taCenter);
    EXPECT_FALSE(row.DataTexte->Shadow);
    EXPECT_EQ(QPoint(row.DataTexte->X, row.DataTexte->Y), QPoint(13, 9));
    QSize size;
    const std::vector<QRgb> captured = Pixels(*row.TextImage, &size);
    ASSERT_EQ(size, labelSize + QSize(2, 0));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            ASSERT_EQ(captured[size_t(y * size.width() + x)],
                      shown.pixel((13 + x) * ratio, (9 + y) * ratio) | 0xFF000000)
                << x << "," << y;
    EXPECT_TRUE(!Placement().isVisible() && Main().isEnabled());

    // Placed again by editing it, hanging over the corner: both objects are new, the image
    // is cut at the picture's edges, and the temporary file is listed once.
    const std::vector<const void*> before = std::get<0>(Beyond());
    DoubleClickRow(3);
    Click(Editor().Button1);
    MoveTo({110, 70});
    PressAt({115, 77}); // on the label, which comes along with the pointer
    EXPECT_EQ(QPoint(row.DataTexte->X, row.DataTexte->Y), QPoint(115, 77));
    EXPECT_NE(row.DataTexte.get(), before[4]);
    EXPECT_NE(row.TextImage.get(), before[5]);
    Pixels(*row.TextImage, &size);
    EXPECT_EQ(size, QSize(5, 3));
    EXPECT_EQ(Main().TempFiles(), std::vector<std::string>{dir_.string() + "/Texte3.gif"});
}

// A picture larger than the screen: the window fits the screen and scrolls, and a text placed
// in the scrolled picture keeps the picture's own coordinates.
TEST_F(TextTest, APictureLargerThanTheScreenScrollsAndPlacesInItsOwnPixels) {
    const QSize screen = Main().screen()->availableGeometry().size();
    AddRow(2, {"Background",
               MakeShadedBmp(dir_ / "big.bmp", screen.width() + 200, screen.height() + 150),
               "Blinds", "1"});
    InsertText(3, {"Far"});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Placement()));
    EXPECT_LT(Placement().width(), screen.width());
    EXPECT_LT(Placement().height(), screen.height());
    QScrollBar* across = Placement().Scroller->horizontalScrollBar();
    QScrollBar* down = Placement().Scroller->verticalScrollBar();
    across->setValue(across->maximum());
    down->setValue(down->maximum());
    ASSERT_GT(across->value(), 200);
    MoveTo({30, 20});
    PressAt({30, 20});
    const CardEvent& row = Main().Script().Row(3);
    ASSERT_TRUE(row.DataTexte);
    EXPECT_EQ(QPoint(row.DataTexte->X, row.DataTexte->Y),
              QPoint(across->value() + 30, down->value() + 20));
}

TEST_F(TextTest, AHandPlacedTextComesBackPixelForPixelFromItsScript) {
    InsertText(3, {"Happy", "Birthday to you"});
    MoveTo({20, 30});
    PressAt({21, 31});
    const std::vector<QRgb> byHand = Pixels(*Main().Script().Row(3).TextImage);
    ASSERT_TRUE(Main().Script().Row(3).DataTexte->Shadow);

    const std::string script = (dir_ / "card.vlm").string();
    dialogs_.FileAnswers = {script, script};
    MenuItem("&Save...");
    MenuItem("&Open...");
    ASSERT_EQ(Rows()[2][kColData], "Happy\rBirthday to you\r");
    EXPECT_EQ(Pixels(*Main().Script().Row(3).TextImage), byHand);
}

// The text's cells and its placement are one step, which brings back the very objects; a
// text taken back with Escape is none.
TEST_F(TextTest, APlacedTextIsOneStepWithItsObjects) {
    InsertText(3, {"Escaped"});
    QTest::keyClick(&Placement(), Qt::Key_Escape);
    const auto rows = Rows();
    auto undone = Beyond();
    InsertText(3, {"Undone"});
    PressAt({5, 5});
    const auto placedRows = Rows();
    const auto placed = Beyond();
    MenuItem("&Undo Insert Text");
    EXPECT_EQ(Rows(), rows);
    std::get<1>(undone) = std::get<1>(placed); // the text image's name stays listed
    EXPECT_EQ(Beyond(), undone);
    MenuItem("&Redo Insert Text");
    EXPECT_EQ(Rows(), placedRows);
    EXPECT_EQ(Beyond(), placed);
    MenuItem("&Undo Insert Text");
    MenuItem("&Undo Change"); // the background's row, written before the escaped text
}

TEST_F(TextTest, EscapeOrAnUnreadablePictureLeavesTheListAsItWas) {
    InsertText(3, {"Kept"});
    PressAt({5, 5});
    AddRow(4, {"Pause", "None", "None", "2"});
    std::ofstream(dir_ / "broken.bmp") << "not a picture";
    for (const bool replace : {false, true})
        for (const bool unreadable : {false, true}) {
            SCOPED_TRACE(std::string(replace ? "replace" : "insert") +
                         (unreadable ? ", unreadable" : ", Escape"));
            Main().EditScript("Change", [&](CardScript& s) {
                s.Row(2).Cells[kColData] = unreadable ? dir_.string() + "/broken.bmp" : sky_;
            });
            ClickRow(3);
            const auto rows = Rows();
            const auto beyond = Beyond();
            dialogs_.Shown.clear();
            if (replace) {
                DoubleClickRow(3);
                Type({"Changed"});
                Click(Editor().Button1);
            } else {
                InsertText(3, {"New"});
            }
            if (unreadable) { // the one notice: there is nothing to place the text on
                EXPECT_EQ(dialogs_.Shown.back(),
                          (ShownBox{"Error", "",
                                    "The picture '" + dir_.string() +
                                        "/broken.bmp' cannot be read: Bitmap image is not valid"}));
                EXPECT_EQ(std::count_if(dialogs_.Shown.begin(), dialogs_.Shown.end(),
                                        [](const ShownBox& b) { return b.Kind == "Information"; }),
                          0);
            } else {
                ASSERT_TRUE(Placement().isVisible());
                QTest::keyClick(&Placement(), Qt::Key_Escape);
            }
            EXPECT_EQ(Rows(), rows);
            EXPECT_EQ(Beyond(), beyond);
            EXPECT_FALSE(Placement().isVisible() || Editor().isVisible());
            EXPECT_TRUE(Main().isEnabled());
        }
}

TEST_F(TextTest, EditingShowsTheRowAndANewTextStartsFromWhatTheEditorLastHeld) {
    // Lines as the memo shows them, in the box's own width.
    const auto line = [&](int block) {
        const QTextBlock b = Editor().Memo1->document()->findBlockByNumber(block);
        return b.layout()->lineAt(0).naturalTextRect();
    };
    const auto boxWidth = [&] { return double(Editor().Memo1->viewport()->width()); };
    Insert("&Text Message");
    Type({"Typed", "then centred"});
    Click(Editor().RadioGroup1[1]);
    EXPECT_NEAR(line(0).center().x(), boxWidth() / 2, 5);
    EXPECT_NEAR(line(1).center().x(), boxWidth() / 2, 5);
    Click(Editor().Button2);

    const TDataTexte texte{kChosen, taRightJustify, true, 0, 0};
    AddRow(3, {"Text", "Happy\r\rBirthday\r", "Mosaic", "4"});
    Main().EditScript(
        "Change", [&](CardScript& s) { s.Row(3).DataTexte = std::make_unique<TDataTexte>(texte); });
    DoubleClickRow(3);
    EXPECT_EQ(Editor().Memo1->toPlainText(), "Happy\n\nBirthday");
    EXPECT_EQ(line(0).right(), line(2).right());
    EXPECT_GT(line(0).left(), boxWidth() / 2);
    EXPECT_TRUE(Editor().RadioGroup1[2]->isChecked() && Editor().CheckBox1->isChecked());
    dialogs_.FontAnswers = {std::nullopt};
    Click(Editor().Button3);
    EXPECT_EQ(dialogs_.Shown.back(), (ShownBox{"Font", "", "DejaVu Sans"})) << "the row's font";
    EXPECT_EQ(Editor().MemoFont(), texte.Font);
    Click(Editor().Button2);

    // A new text keeps it all; an empty memo is an empty message with an empty label.
    Insert("&Text Message");
    EXPECT_EQ(Editor().Memo1->toPlainText(), "Happy\n\nBirthday");
    EXPECT_TRUE(Editor().RadioGroup1[2]->isChecked() && Editor().CheckBox1->isChecked());
    Type({});
    Click(Editor().Button1);
    EXPECT_EQ(Placement().Label1->width(), 0);
    PressAt({50, 40});
    EXPECT_EQ(Rows()[2], (EventCells{"Text", "", "Mosaic", "4"}));
    EXPECT_EQ(Main().Script().Row(3).DataTexte->Font, texte.Font);
    EXPECT_NE(Main().Script().Row(3).TextImage, nullptr);
}

} // namespace
