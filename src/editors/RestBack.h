// TForm12, the clear-text editor: the restoring of the current background, which clears the
// texts drawn over it, with one of the twelve picture transitions.
#pragma once

#include "TransitionEditor.h"

class TForm12 final : public TransitionEditor {
    Q_OBJECT
public:
    TForm12(EditorHost& host, Dialogs& dialogs);
};
