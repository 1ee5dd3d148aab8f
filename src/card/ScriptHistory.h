// The changes made to the card script, so that each can be taken back and made again. Every
// change to the list goes through here (the editors, Delete, Clear All, Open), so a change
// made by a new command is a step without the command knowing about steps.
//
// A step keeps only the rows that the change replaced and those it put in their place, with
// the objects of their text events shared rather than copied: deleting a text event keeps
// that one row and its picture alive, not the list.
#pragma once

#include "CardScript.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The script file that the list was last opened from or saved to, and the events written
// there: the list has unsaved changes while its events differ from those. Opening a file
// changes it with the list, so taking an Open back brings the former file back too.
struct ScriptFile {
    std::string Name; // empty for a card never saved
    std::vector<EventContent> Saved;
    bool operator==(const ScriptFile&) const = default;
};

// How many steps can be taken back; the oldest goes when a newer one would exceed this.
inline constexpr size_t kUndoSteps = 100;

class ScriptHistory {
public:
    // `script` and `file` are the list and its file, which the history changes and restores.
    ScriptHistory(CardScript& script, ScriptFile& file, size_t maxSteps = kUndoSteps);

    // Applies `edit` to the list as one step named `name`. A change that leaves the rows as
    // they were (Delete on the trailing row) is no step; a step drops the steps that undos had
    // set aside for redo. An edit that throws is still a step as far as it went.
    void Change(const std::string& name, const std::function<void(CardScript&)>& edit);
    // Applies `edit` as the end of the last change: a text's placement after its cells, or
    // their taking back, which leaves no step when the list ends as it was before. Without a
    // change to continue (after an undo) it is a step of its own named `name`.
    void Continue(const std::string& name, const std::function<void(CardScript&)>& edit);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The name of the step that Undo or Redo would take; empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;
    // The rows, the selection and, for an Open, the file as they were before the last step,
    // or after the next one. Nothing happens when there is no such step.
    void Undo();
    void Redo();

private:
    struct Step {
        std::string Name;
        int First = 0;                 // the first row that the change replaced
        std::vector<CardEvent> Before; // the rows replaced, from First
        std::vector<CardEvent> After;  // the rows put in their place
        int CurrentBefore = 0, CurrentAfter = 0;
        std::optional<ScriptFile> FileBefore, FileAfter; // only when the change opened a file
    };
    // The list, the selection and the file as they were before a change.
    struct Snapshot {
        std::vector<CardEvent> Rows;
        int Current = 0;
        ScriptFile File;
    };

    Snapshot Take() const { return {script_.Rows(), script_.CurrentRow(), file_}; }
    // Applies `edit` and keeps what changed since `before` as a step named `name`.
    void Apply(const std::string& name, const Snapshot& before,
               const std::function<void(CardScript&)>& edit);
    void Keep(const std::string& name, const Snapshot& before);
    // Moves the list from one side of `step` to the other.
    void Move(const Step& step, bool back);

    CardScript& script_;
    ScriptFile& file_;
    const size_t maxSteps_;
    std::deque<Step> steps_;
    size_t done_ = 0;          // steps_[0 .. done_) are done, the rest undone
    bool continuable_ = false; // the last step done was the last change made
};
