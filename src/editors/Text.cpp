#include "Text.h"

#include "CardScript.h"
#include "CardTexts.h"
#include "Command.h"
#include "EditorTexts.h"
#include "Previews.h"
#include "QtFont.h"
#include "TextMessage.h"
#include "TransitionTiming.h"
#include "Transitions.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace {
constexpr QSize kClientSize(495, 289);
constexpr QPoint kTransitionPos(14, 24);
constexpr int kTransitionWidth = 150;
constexpr int kDecorationTop = 24;
constexpr std::array<int, 3> kDecorationLefts = {375, 413, 451};
constexpr int kDecorationSide = 32;
constexpr QRect kFontsRect(8, 110, 479, 136);
// Inside the "Fonts " frame.
constexpr QRect kFontsButtonRect(10, 22, 75, 25);
constexpr QRect kShadowRect(96, 24, 110, 20);
constexpr QRect kAlignmentRect(10, 60, 196, 64);
constexpr std::array<QRect, 3> kRadioRects = {
    {{8, 26, 50, 20}, {58, 26, 78, 20}, {136, 26, 56, 20}}};
constexpr QRect kEnterTextRect(218, 16, 120, 16);
constexpr QRect kMemoRect(218, 34, 251, 90);
constexpr QRect kOkRect(326, 256, 75, 25);
constexpr QRect kCancelRect(406, 256, 75, 25);

// The radio buttons' order, and the alignment each stands for.
constexpr std::array<uint8_t, 3> kAlignmentOfButton = {taLeftJustify, taCenter, taRightJustify};

// The three small pictures in the corner, for the eye only: a letter, a letter with its drop
// shadow, and centred lines.
QPixmap Decoration(size_t which) {
    QPixmap pixmap(kDecorationSide, kDecorationSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    const QRect all(0, 0, kDecorationSide, kDecorationSide);
    if (which == 0) {
        p.setPen(QColor(0, 0, 128));
        p.drawText(all, Qt::AlignCenter, QStringLiteral("T"));
    } else if (which == 1) {
        p.setPen(QColor(128, 128, 128));
        p.drawText(all.translated(2, 2), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(QColor(128, 0, 0));
        p.drawText(all, Qt::AlignCenter, QStringLiteral("A"));
    } else {
        p.setPen(QPen(QColor(0, 96, 0), 3));
        for (int i = 0; i < 4; ++i) {
            const int half = i % 2 ? 8 : 13;
            p.drawLine(16 - half, 6 + 7 * i, 16 + half, 6 + 7 * i);
        }
    }
    return pixmap;
}
} // namespace

TForm3::TForm3(EditorHost& host, Dialogs& dialogs, TForm7& placement)
    : EditorWindow(host, dialogs, editortext::kTextFrame, kClientSize, kCloseBoxOnly),
      placement_(placement) {
    QWidget* frame = Frame();
    Transition = new TransitionTiming(transitions::kText, kTransitionWidth, frame);
    Transition->move(kTransitionPos);
    for (size_t i = 0; i < kDecorationLefts.size(); ++i) {
        auto* picture = new QLabel(frame);
        picture->setGeometry(kDecorationLefts[i], kDecorationTop, kDecorationSide, kDecorationSide);
        picture->setPixmap(Decoration(i));
    }

    auto* fonts = new QGroupBox(editortext::kFontsFrame, frame);
    fonts->setGeometry(kFontsRect);
    Button3 = new QPushButton(editortext::kFontsButton, fonts);
    Button3->setGeometry(kFontsButtonRect);
    Button3->setAutoDefault(true);
    connect(Button3, &QPushButton::clicked, this,
            [this] { RunCommand(Boxes(), [this] { Button3Click(); }); });
    CheckBox1 = new QCheckBox(editortext::kAddShadow, fonts);
    CheckBox1->setGeometry(kShadowRect);
    auto* alignment = new QGroupBox(editortext::kAlignmentFrame, fonts);
    alignment->setGeometry(kAlignmentRect);
    for (size_t i = 0; i < RadioGroup1.size(); ++i) {
        RadioGroup1[i] = new QRadioButton(editortext::kAlignments[i], alignment);
        RadioGroup1[i]->setGeometry(kRadioRects[i]);
        connect(RadioGroup1[i], &QRadioButton::clicked, this,
                [this, i] { SetMemoAlignment(kAlignmentOfButton[i]); });
    }
    RadioGroup1[0]->setChecked(true);

    auto* enterText = new QLabel(editortext::kEnterText, fonts);
    enterText->setGeometry(kEnterTextRect);
    Memo1 = new QTextEdit(fonts);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(kMemoRect);
    Memo1->setAcceptRichText(false);
    // A line of the box is a line of the text: long ones scroll rather than wrap. The lines
    // are aligned within the box's width, which a box without wrapping would not know.
    Memo1->setWordWrapMode(QTextOption::NoWrap);
    Memo1->setTabChangesFocus(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    enterText->setBuddy(Memo1);
    // The memo starts with the font dialog's font and the checked button's alignment.
    SetMemoFont(fontDialogFont_);
    SetMemoAlignment(taLeftJustify);

    Button1 = AddButton(editortext::kOk, kOkRect, [this] { OkClick(); });
    Button2 = AddButton(editortext::kCancel, kCancelRect, [this] { Cancel(); });

    setTabOrder(Transition->ComboBox1, Transition->SpinEdit1);
    setTabOrder(Transition->SpinEdit1, Button3);
    setTabOrder(Button3, CheckBox1);
    setTabOrder(CheckBox1, RadioGroup1[0]);
    setTabOrder(RadioGroup1[0], RadioGroup1[1]);
    setTabOrder(RadioGroup1[1], RadioGroup1[2]);
    setTabOrder(RadioGroup1[2], Memo1);
    setTabOrder(Memo1, Button1);
    setTabOrder(Button1, Button2);
    Button2->setFocus();
}

void TForm3::FillFromRow(const CardEvent& row) {
    Memo1->clear();
    Transition->FillFromRow(row);
    if (const TDataTexte* texte = row.DataTexte.get()) {
        fontDialogFont_ = texte->Font;
        SetMemoFont(texte->Font);
        SetMemoAlignment(texte->Alignment);
        CheckBox1->setChecked(texte->Shadow);
    }
    Memo1->setPlainText(QString::fromStdString(TextOfMessage(row.Cells[kColData])));
    AlignMemo();
}

void TForm3::Button3Click() {
    // The memo takes the dialog's font whichever way the dialog closes: a cancel leaves the
    // dialog's font as it was.
    Boxes().ChooseFont(fontDialogFont_);
    SetMemoFont(fontDialogFont_);
}

void TForm3::SetMemoFont(const TFont& font) {
    memoFont_ = font;
    Memo1->setFont(ToQFont(font));
    // A system colour as a card shows it: the memo is white like the classic desktop's boxes.
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, ToQColor(font.Color, ClassicPalette()));
    Memo1->setPalette(palette);
}

void TForm3::SetMemoAlignment(uint8_t alignment) {
    size_t button = 1; // anything but left and right is centred, as in the card
    for (size_t i = 0; i < kAlignmentOfButton.size(); ++i)
        if (kAlignmentOfButton[i] == alignment) button = i;
    memoAlignment_ = kAlignmentOfButton[button];
    RadioGroup1[button]->setChecked(true);
    AlignMemo();
}

void TForm3::AlignMemo() {
    constexpr std::array<Qt::Alignment, 3> shown = {Qt::AlignLeft, Qt::AlignRight,
                                                    Qt::AlignHCenter};
    QTextBlockFormat format;
    format.setAlignment(shown[memoAlignment_]);
    // Every line takes it; a line begun with Enter takes it from the line it breaks.
    QTextCursor all(Memo1->document());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(format);
}

void TForm3::OkClick() {
    const std::string transition = Transition->ComboBox1->TransitionText();
    if (transition.empty()) {
        Boxes().Information(editortext::kNoTransition);
        return;
    }
    // The timing box always holds a number: its arrows are the only way to change it.
    const CardScript& script = Host().Script();
    const int background = script.FindBackgroundAbove(Host().TargetRow());
    if (background == 0) {
        Boxes().Information(editortext::kNoBackground);
        return;
    }
    const std::string picture = script.Row(background).Cells[kColData];
    const EventCells cells = {cardtext::kText, MessageOfText(Memo1->toPlainText().toStdString()),
                              transition, Transition->SpinEdit1->TimingText()};
    placement_.BeginPlacement(cells, memoFont_, memoAlignment_, CheckBox1->isChecked());
    hide();
    // The picture is read before the user is told to place the text on it.
    placement_.LoadBackground(picture);
    Boxes().Information(editortext::kPlaceText);
    placement_.ShowBackground();
}
