// What the main window and the chooser need of an event editor to open it.
#pragma once

#include "CardEvent.h"

class QWidget;

class RowEditor {
public:
    virtual ~RowEditor() = default;
    // The editor's window, which the opener places and shows.
    virtual QWidget& Window() = 0;
    // Fills the controls from the row that the editor will replace.
    virtual void FillFromRow(const CardEvent& row) = 0;
    // Readies the controls for a new event, before the chooser shows the editor. Most editors
    // keep everything from their last use; those that name a file forget its name.
    virtual void PrepareNewEvent() {}
};
