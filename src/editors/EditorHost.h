// What an event editor asks of the window it works for: where its event goes, the list it
// reads and changes in steps of the history, the folder and the list of the working files a
// text image joins, and the way back once it is done. The main window is the one host; a
// test gives the editors one of its own.
#pragma once

#include "CardEvent.h"

#include <functional>
#include <string>
#include <vector>

class CardScript;
class QWidget;

class EditorHost {
public:
    using ScriptEdit = std::function<void(CardScript&)>;

    // The window that the editors belong to: they open over it and stay in front of it.
    virtual QWidget& Window() = 0;
    virtual const CardScript& Script() const = 0;

    // The row that the open editor writes, and how: true replaces it, false inserts there.
    virtual int TargetRow() const = 0;
    virtual bool EditMode() const = 0;
    // Writes `cells` at the target row by the edit mode, as one step of the history.
    virtual void WriteEventRow(const EventCells& cells) = 0;

    // The name of the step by which `cells` are written at the target row.
    virtual std::string WriteStepName(const EventCells& cells) const = 0;
    // A change of the list as one step named `step`, which Undo takes back whole.
    virtual void EditScript(const std::string& step, const ScriptEdit& edit) = 0;
    // A change that ends the last step (a text's placement after its cells).
    virtual void ContinueStep(const std::string& step, const ScriptEdit& edit) = 0;

    // Where a text image is written, and the working files, deleted when the host closes,
    // that its name joins.
    virtual const std::string& ProgramDir() const = 0;
    virtual std::vector<std::string>& TempFiles() = 0;

    // The editor has gone, whichever way: the host takes the user again.
    virtual void ChildWindowClosed() = 0;

protected:
    ~EditorHost() = default;
};
