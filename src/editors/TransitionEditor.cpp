#include "TransitionEditor.h"

#include "TransitionTiming.h"

#include <QGroupBox>

TransitionEditor::TransitionEditor(EditorHost& host, Dialogs& dialogs, const Form& form)
    : EditorWindow(host, dialogs, form.Frame, form.ClientSize,
                   form.Resizable ? kResizableFrame : kCloseBoxOnly, form.Resizable) {
    Transition = new TransitionTiming(form.Transitions, form.TransitionRect.width(), Frame());
    Transition->move(form.TransitionRect.topLeft());
    Button1 = AddButton(form.Ok, form.OkRect, [this, kind = form.Kind, data = form.Data] {
        WriteRow({kind, data, Transition->ComboBox1->TransitionText(),
                  Transition->SpinEdit1->TimingText()});
    });
    Button2 = AddButton(form.Cancel, form.CancelRect, [this] { Cancel(); });
}

void TransitionEditor::FillFromRow(const CardEvent& row) {
    Transition->FillFromRow(row);
}
