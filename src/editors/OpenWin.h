// TForm6, the window-opening editor: how the card window opens (row 1, always there).
#pragma once

#include "TransitionEditor.h"

class TForm6 final : public TransitionEditor {
    Q_OBJECT
public:
    TForm6(EditorHost& host, Dialogs& dialogs);
};
