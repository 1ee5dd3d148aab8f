// The window an editor works for, with nothing of the main window: a plain window to open
// over, a script changed in named steps, a target row and a list of working files. It opens
// an editor as the main window and its chooser do.
#pragma once

#include "CardScript.h"
#include "EditorHost.h"
#include "RowEditor.h"

#include <QWidget>

#include <string>
#include <utility>
#include <vector>

class FakeEditorHost final : public EditorHost {
public:
    explicit FakeEditorHost(std::string programDir) : programDir_(std::move(programDir)) {}

    // Every step, in order: a continued one is marked "+".
    std::vector<std::string> Steps;

    // A new event in front of `row`, as the chooser opens its editor on the selected row.
    void OpenNew(RowEditor& editor, int row) {
        script_.SetCurrentRow(row);
        target_ = row;
        editMode_ = false;
        editor.PrepareNewEvent();
        Show(editor.Window());
    }
    // The event of `row`, to replace, as a double-click on it opens its editor.
    void OpenOn(RowEditor& editor, int row) {
        script_.SetCurrentRow(row);
        target_ = row;
        editMode_ = true;
        editor.FillFromRow(script_.Row(row));
        Show(editor.Window());
    }

    QWidget& Window() override { return window_; }
    const CardScript& Script() const override { return script_; }
    int TargetRow() const override { return target_; }
    bool EditMode() const override { return editMode_; }
    void WriteEventRow(const EventCells& cells) override {
        EditScript(WriteStepName(cells),
                   [&](CardScript& s) { s.WriteEventRow(target_, editMode_, cells); });
    }
    std::string WriteStepName(const EventCells& cells) const override {
        return (editMode_ ? "Edit " : "Insert ") + cells[kColKind];
    }
    void EditScript(const std::string& step, const ScriptEdit& edit) override {
        Steps.push_back(step);
        edit(script_);
    }
    void ContinueStep(const std::string& step, const ScriptEdit& edit) override {
        Steps.push_back("+" + step);
        edit(script_);
    }
    const std::string& ProgramDir() const override { return programDir_; }
    std::vector<std::string>& TempFiles() override { return tempFiles_; }
    void ChildWindowClosed() override { window_.setEnabled(true); }

private:
    // The editor opens over the host, which waits for it disabled.
    void Show(QWidget& editor) {
        editor.show();
        window_.setEnabled(false);
    }

    QWidget window_;
    CardScript script_;
    std::string programDir_;
    int target_ = 0;
    bool editMode_ = false;
    std::vector<std::string> tempFiles_;
};
