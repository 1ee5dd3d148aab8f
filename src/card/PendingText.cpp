#include "PendingText.h"

#include "PlayerScript.h"

#include <algorithm>

PendingText PendingText::Write(CardScript& script, int targetRow, bool editMode,
                               const EventCells& cells) {
    PendingText pending(targetRow, !editMode, editMode ? script.Row(targetRow).Cells : EventCells{},
                        script.RowCount(), script.CurrentRow());
    script.WriteEventRow(targetRow, editMode, cells);
    return pending;
}

void PendingText::Commit(CardScript& script, std::unique_ptr<TDataTexte> texte,
                         std::unique_ptr<TGifFile> image, const std::string& programDir,
                         std::vector<std::string>& tempFiles) const {
    CardEvent& row = script.Row(row_);
    row.DataTexte = std::move(texte);
    row.TextImage = std::move(image);
    const std::string name = programDir + playerscript::TextFile(row_);
    if (std::find(tempFiles.begin(), tempFiles.end(), name) == tempFiles.end())
        tempFiles.push_back(name);
}

void PendingText::RollBack(CardScript& script) const {
    if (inserted_)
        script.EraseRow(row_);
    else
        script.Row(row_).Cells = before_;
    // Writing may have added a trailing row or dropped an empty one that slid out; either
    // was empty, so an empty row stands for it.
    while (script.RowCount() > rowCount_)
        script.EraseRow(script.RowCount() - 1);
    while (script.RowCount() < rowCount_)
        script.AppendEmptyRow();
    script.SetCurrentRow(currentRow_);
}
