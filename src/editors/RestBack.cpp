#include "RestBack.h"

#include "CardTexts.h"
#include "EditorTexts.h"
#include "TransitionTiming.h"
#include "Transitions.h"

#include <QGroupBox>
#include <QPushButton>

namespace {
// A resizable window whose frame, borders and title included, measures 214 by 168.
constexpr QSize kClientSize(206, 141);
constexpr QPoint kTransitionPos(10, 20);
constexpr int kTransitionWidth = 186;
constexpr QRect kOkRect(50, 108, 70, 25);
constexpr QRect kCancelRect(126, 108, 70, 25);
} // namespace

TForm12::TForm12(TForm1& main, Dialogs& dialogs)
    : EditorWindow(main, dialogs, editortext::kClearTextFrame, kClientSize,
                   Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint,
                   /*resizable=*/true) {
    Transition = new TransitionTiming(transitions::kPicture, kTransitionWidth, Frame());
    Transition->move(kTransitionPos);
    // The restore names no picture: it shows again whichever background is current.
    Button1 = AddButton(editortext::kAmpOk, kOkRect, [this] {
        WriteRow({cardtext::kRestoreBackground, "", Transition->ComboBox1->TransitionText(),
                  Transition->SpinEdit1->TimingText()});
    });
    Button2 = AddButton(editortext::kCancel, kCancelRect, [this] { Cancel(); });
    setTabOrder(Transition->SpinEdit1, Button1);
    setTabOrder(Button1, Button2);
    Transition->ComboBox1->setFocus();
}

void TForm12::FillFromRow(const CardEvent& row) {
    Transition->FillFromRow(row);
}
