// TForm4, the pause editor: how many seconds the card waits.
#pragma once

#include "EditorWindow.h"

class TTimingBox;

class TForm4 final : public EditorWindow {
    Q_OBJECT
public:
    TForm4(EditorHost& host, Dialogs& dialogs);

    // A Pause row opens here too, with its timing.
    void FillFromRow(const CardEvent& row) override;

    TTimingBox* SpinEdit1 = nullptr;
    QPushButton* Button1 = nullptr; // "&Ok"
    QPushButton* Button2 = nullptr; // "&Cancel"
};
