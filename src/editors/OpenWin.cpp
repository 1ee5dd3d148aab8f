#include "OpenWin.h"

#include "CardTexts.h"
#include "EditorTexts.h"
#include "TransitionTiming.h"
#include "Transitions.h"

#include <QPushButton>

namespace {
// Only the window-opening row opens this editor, by a double-click, so OK always replaces
// it: the list never grows. "Ok" stands above "Cancel", which comes first in the tab order.
const TransitionEditor::Form kForm = {
    .Frame = editortext::kWindowOpeningFrame,
    .ClientSize = {206, 141},
    .Resizable = false,
    .Transitions = transitions::kWindowOpening,
    .TransitionRect = {10, 20, 112, TransitionTiming::Height},
    .Ok = editortext::kPlainOk,
    .OkRect = {130, 36, 64, 25},
    .Cancel = editortext::kPlainCancel,
    .CancelRect = {130, 68, 64, 25},
    .Kind = cardtext::kOpenWindow,
    .Data = cardtext::kNone,
};
} // namespace

TForm6::TForm6(EditorHost& host, Dialogs& dialogs) : TransitionEditor(host, dialogs, kForm) {
    setTabOrder(Transition->SpinEdit1, Button2);
    setTabOrder(Button2, Button1);
    Button2->setFocus();
}
