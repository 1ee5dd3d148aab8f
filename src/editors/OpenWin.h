// TForm6, the window-opening editor: how the card window opens (row 1, always there).
#pragma once

#include "EditorWindow.h"

class TransitionTiming;

class TForm6 final : public EditorWindow {
    Q_OBJECT
public:
    TForm6(TForm1& main, Dialogs& dialogs);

    void FillFromRow(const CardEvent& row) override;

    TransitionTiming* Transition = nullptr;
    QPushButton* Button1 = nullptr; // "Ok"
    QPushButton* Button2 = nullptr; // "Cancel"
};
