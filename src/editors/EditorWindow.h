// An event editor's window: a child window of the editors' host, opened for a new event
// or on a row to replace.
#pragma once

#include "ChildWindow.h"
#include "RowEditor.h"

// A fixed dialog frame whose title bar carries only the close box.
inline constexpr Qt::WindowFlags kCloseBoxOnly =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
// A dialog frame that the user can resize.
inline constexpr Qt::WindowFlags kResizableFrame =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

class EditorWindow : public ChildWindow, public RowEditor {
public:
    using ChildWindow::ChildWindow;
    QWidget& Window() override { return *this; }
};
