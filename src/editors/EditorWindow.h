// An event editor's window: a child window of the main window that it opens for a new event
// or on a row to replace.
#pragma once

#include "ChildWindow.h"
#include "RowEditor.h"

class EditorWindow : public ChildWindow, public RowEditor {
public:
    using ChildWindow::ChildWindow;
    QWidget& Window() override { return *this; }
};
