#include "Pause.h"

#include "CardTexts.h"
#include "EditorTexts.h"
#include "TransitionTiming.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr QSize kClientSize(185, 116);
constexpr QRect kLabelRect(20, 36, 50, 16);
constexpr QRect kTimingRect(76, 33, 60, 22);
constexpr QRect kOkRect(18, 74, 70, 25);
constexpr QRect kCancelRect(96, 74, 70, 25);
} // namespace

TForm4::TForm4(EditorHost& host, Dialogs& dialogs)
    : EditorWindow(host, dialogs, editortext::kPauseFrame, kClientSize, kCloseBoxOnly) {
    auto* label = new QLabel(editortext::kPauseTiming, Frame());
    label->setGeometry(kLabelRect);
    SpinEdit1 = new TTimingBox(Frame());
    SpinEdit1->setGeometry(kTimingRect);
    label->setBuddy(SpinEdit1);
    Button1 = AddButton(editortext::kAmpOk, kOkRect, [this] {
        WriteRow({cardtext::kPause, cardtext::kNone, cardtext::kNone, SpinEdit1->TimingText()});
    });
    Button2 = AddButton(editortext::kCancel, kCancelRect, [this] { Cancel(); });
    setTabOrder(SpinEdit1, Button1);
    setTabOrder(Button1, Button2);
    Button2->setFocus();
}

void TForm4::FillFromRow(const CardEvent& row) {
    SpinEdit1->SetTimingText(row.Cells[kColTiming]);
}
