#include "RestBack.h"

#include "CardTexts.h"
#include "EditorTexts.h"
#include "TransitionTiming.h"
#include "Transitions.h"

#include <QPushButton>

namespace {
// A resizable window whose frame, borders and title included, measures 214 by 168. The
// restore names no picture: it shows again whichever background is current.
const TransitionEditor::Form kForm = {
    .Frame = editortext::kClearTextFrame,
    .ClientSize = {206, 141},
    .Resizable = true,
    .Transitions = transitions::kPicture,
    .TransitionRect = {10, 20, 186, TransitionTiming::Height},
    .Ok = editortext::kAmpOk,
    .OkRect = {50, 108, 70, 25},
    .Cancel = editortext::kCancel,
    .CancelRect = {126, 108, 70, 25},
    .Kind = cardtext::kRestoreBackground,
    .Data = "",
};
} // namespace

TForm12::TForm12(EditorHost& host, Dialogs& dialogs) : TransitionEditor(host, dialogs, kForm) {
    setTabOrder(Transition->SpinEdit1, Button1);
    setTabOrder(Button1, Button2);
    Transition->ComboBox1->setFocus();
}
