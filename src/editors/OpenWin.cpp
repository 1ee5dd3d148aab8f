#include "OpenWin.h"

#include "CardTexts.h"
#include "EditorTexts.h"
#include "TransitionTiming.h"
#include "Transitions.h"

#include <QGroupBox>
#include <QPushButton>

namespace {
constexpr QSize kClientSize(206, 141);
constexpr QPoint kTransitionPos(10, 20);
constexpr int kTransitionWidth = 112;
// "Ok" stands above "Cancel", which comes first in the tab order.
constexpr QRect kOkRect(130, 36, 64, 25);
constexpr QRect kCancelRect(130, 68, 64, 25);
} // namespace

TForm6::TForm6(TForm1& main, Dialogs& dialogs)
    : EditorWindow(main, dialogs, editortext::kWindowOpeningFrame, kClientSize,
                   Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint) {
    Transition = new TransitionTiming(transitions::kWindowOpening, kTransitionWidth, Frame());
    Transition->move(kTransitionPos);
    // Only the window-opening row opens this editor, by a double-click, so the row is always
    // replaced: the list never grows.
    Button1 = AddButton(editortext::kPlainOk, kOkRect, [this] {
        WriteRow({cardtext::kOpenWindow, cardtext::kNone, Transition->ComboBox1->TransitionText(),
                  Transition->SpinEdit1->TimingText()});
    });
    Button2 = AddButton(editortext::kPlainCancel, kCancelRect, [this] { Cancel(); });
    setTabOrder(Transition->SpinEdit1, Button2);
    setTabOrder(Button2, Button1);
    Button2->setFocus();
}

void TForm6::FillFromRow(const CardEvent& row) {
    Transition->FillFromRow(row);
}
