// TForm12, the clear-text editor: the restoring of the current background, which clears the
// texts drawn over it, with one of the twelve picture transitions.
#pragma once

#include "EditorWindow.h"

class TransitionTiming;

class TForm12 final : public EditorWindow {
    Q_OBJECT
public:
    TForm12(TForm1& main, Dialogs& dialogs);

    void FillFromRow(const CardEvent& row) override;

    TransitionTiming* Transition = nullptr;
    QPushButton* Button1 = nullptr; // "&Ok"
    QPushButton* Button2 = nullptr; // "&Cancel"
};
