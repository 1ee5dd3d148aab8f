// What the main window needs of an event editor to open it on a double-clicked row.
#pragma once

#include "CardEvent.h"

class QWidget;

class RowEditor {
public:
    virtual ~RowEditor() = default;
    // The editor's window, which the main window places and shows.
    virtual QWidget& Window() = 0;
    // Fills the controls from the row that the editor will replace.
    virtual void FillFromRow(const CardEvent& row) = 0;
};
