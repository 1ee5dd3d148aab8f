// TForm3, the text editor: a message of one or more lines in a font, an alignment and with or
// without a drop shadow, shown in the card with one of the six text transitions for a number
// of seconds. On OK the row's cells are written and the placement window (TForm7) takes over,
// where the user puts the text on its background.
#pragma once

#include "EditorWindow.h"

#include <array>

class QCheckBox;
class QRadioButton;
class QTextEdit;
class TForm7;
class TransitionTiming;

class TForm3 final : public EditorWindow {
    Q_OBJECT
public:
    TForm3(EditorHost& host, Dialogs& dialogs, TForm7& placement);

    // The row's lines, font, alignment and shadow, transition and timing. The alignment
    // buttons and the font dialog's starting font follow the row too.
    void FillFromRow(const CardEvent& row) override;

    TransitionTiming* Transition = nullptr;
    QPushButton* Button3 = nullptr;                     // "&Fonts"
    QCheckBox* CheckBox1 = nullptr;                     // "Add &Shadow"
    std::array<QRadioButton*, 3> RadioGroup1{};         // "&Left", "&Centered", "&Right"
    QTextEdit* Memo1 = nullptr;                         // the message
    QPushButton* Button1 = nullptr;                     // "&OK"
    QPushButton* Button2 = nullptr;                     // "&Cancel"
    const TFont& MemoFont() const { return memoFont_; } // what OK gives the text
    uint8_t MemoAlignment() const { return memoAlignment_; }

private:
    void Button3Click();
    void SetMemoFont(const TFont& font);
    void SetMemoAlignment(uint8_t alignment);
    void AlignMemo();
    void OkClick();

    TForm7& placement_;
    TFont fontDialogFont_; // where the font dialog starts; the memo takes it when it closes
    TFont memoFont_;
    uint8_t memoAlignment_ = taLeftJustify;
};
