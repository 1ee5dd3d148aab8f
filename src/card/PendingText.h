// A Text event between its editor's OK and its placement on the background. The editor writes
// the row's four cells as every editor does, but the row's TDataTexte and text image come only
// when the user places the text. Until then the edit can be taken back whole, so that no Text
// row is ever left without its objects.
#pragma once

#include "CardScript.h"

#include <memory>
#include <string>
#include <vector>

class PendingText {
public:
    // Writes `cells` at `targetRow` as CardScript::WriteEventRow does (inserting in front of
    // the event there, or replacing it), remembering what the script looked like before.
    static PendingText Write(CardScript& script, int targetRow, bool editMode,
                             const EventCells& cells);

    int Row() const { return row_; }

    // The placement: the row takes its objects, in place of any it had, and the name that its
    // text image will have in `programDir` joins `tempFiles` unless it is there already.
    void Commit(CardScript& script, std::unique_ptr<TDataTexte> texte,
                std::unique_ptr<TGifFile> image, const std::string& programDir,
                std::vector<std::string>& tempFiles) const;

    // The way back: an inserted row goes again, the rows below it moving back up with their
    // objects; a replaced row gets its cells back and keeps the objects it never lost. The
    // row count and the selection are those of before.
    void RollBack(CardScript& script) const;

private:
    PendingText(int row, bool inserted, EventCells before, int rowCount, int currentRow)
        : row_(row), inserted_(inserted), before_(std::move(before)), rowCount_(rowCount),
          currentRow_(currentRow) {}

    int row_;
    bool inserted_;
    EventCells before_; // the replaced row's cells
    int rowCount_;
    int currentRow_;
};
