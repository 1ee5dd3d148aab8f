// TForm10, the chooser that "&Insert" opens: the user picks the kind of event to insert and
// the chooser opens that kind's editor to insert it at the selected row.
#pragma once

#include "ChildWindow.h"
#include "EventKind.h"

#include <array>
#include <utility>

class TForm1;

class TForm10 final : public ChildWindow {
    Q_OBJECT
public:
    TForm10(TForm1& main, Dialogs& dialogs);

    // Top to bottom: the six kinds that can be inserted, then "&Cancel".
    std::array<QPushButton*, 7> Buttons{};

protected:
    void Cancel() override;
    // A kind's button works once its editor has joined the main window.
    void showEvent(QShowEvent* event) override;

private:
    void OpenEditor(EventKind kind);
    void RestoreBackgroundClick();

    TForm1& main_; // whose selected row a new event goes to, and whose editors it opens
};
