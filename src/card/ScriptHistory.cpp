#include "ScriptHistory.h"

#include <algorithm>

ScriptHistory::ScriptHistory(CardScript& script, ScriptFile& file, size_t maxSteps)
    : script_(script), file_(file), maxSteps_(std::max<size_t>(maxSteps, 1)) {}

void ScriptHistory::Change(const std::string& name, const std::function<void(CardScript&)>& edit) {
    Apply(name, Take(), edit);
}

void ScriptHistory::Continue(const std::string& name,
                             const std::function<void(CardScript&)>& edit) {
    if (!continuable_) {
        Change(name, edit);
        return;
    }
    // The list as it was before the last step, which this change completes: the step is made
    // again from there, or vanishes when the two together change nothing.
    const Step last = std::move(steps_.back());
    steps_.pop_back();
    done_ = steps_.size();
    Snapshot before = Take();
    before.Rows.erase(before.Rows.begin() + last.First,
                      before.Rows.begin() + last.First + std::ptrdiff_t(last.After.size()));
    before.Rows.insert(before.Rows.begin() + last.First, last.Before.begin(), last.Before.end());
    before.Current = last.CurrentBefore;
    if (last.FileBefore) before.File = *last.FileBefore;
    Apply(last.Name, before, edit);
}

void ScriptHistory::Apply(const std::string& name, const Snapshot& before,
                          const std::function<void(CardScript&)>& edit) {
    try {
        edit(script_);
    } catch (...) {
        Keep(name, before); // what a failed Open left can be taken back
        throw;
    }
    Keep(name, before);
}

void ScriptHistory::Keep(const std::string& name, const Snapshot& before) {
    // The rows that the change left alone at both ends of the list are not kept.
    const std::vector<CardEvent>& was = before.Rows;
    const std::vector<CardEvent>& is = script_.Rows();
    const size_t common = std::min(was.size(), is.size());
    size_t first = 0;
    while (first < common && was[first].SameAs(is[first]))
        ++first;
    size_t last = 0;
    while (last < common - first && was[was.size() - 1 - last].SameAs(is[is.size() - 1 - last]))
        ++last;
    const bool fileChanged = !(before.File == file_);
    continuable_ = first + last < was.size() || first + last < is.size() || fileChanged;
    if (!continuable_) return;

    Step step{name,
              int(first),
              {was.begin() + std::ptrdiff_t(first), was.end() - std::ptrdiff_t(last)},
              {is.begin() + std::ptrdiff_t(first), is.end() - std::ptrdiff_t(last)},
              before.Current,
              script_.CurrentRow(),
              fileChanged ? std::optional(before.File) : std::nullopt,
              fileChanged ? std::optional(file_) : std::nullopt};
    steps_.erase(steps_.begin() + std::ptrdiff_t(done_), steps_.end());
    steps_.push_back(std::move(step));
    if (steps_.size() > maxSteps_) steps_.pop_front();
    done_ = steps_.size();
}

std::string ScriptHistory::UndoName() const {
    return CanUndo() ? steps_[done_ - 1].Name : std::string();
}

std::string ScriptHistory::RedoName() const {
    return CanRedo() ? steps_[done_].Name : std::string();
}

void ScriptHistory::Undo() {
    if (!CanUndo()) return;
    Move(steps_[--done_], true);
}

void ScriptHistory::Redo() {
    if (!CanRedo()) return;
    Move(steps_[done_++], false);
}

void ScriptHistory::Move(const Step& step, bool back) {
    const std::vector<CardEvent>& out = back ? step.After : step.Before;
    script_.SpliceRows(step.First, int(out.size()), back ? step.Before : step.After);
    script_.SetCurrentRow(back ? step.CurrentBefore : step.CurrentAfter);
    if (const std::optional<ScriptFile>& file = back ? step.FileBefore : step.FileAfter)
        file_ = *file;
    continuable_ = false;
}
