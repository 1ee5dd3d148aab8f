// The card script: the document the user edits, held as the rows of the main window's grid.
//
//   row 0          the header, never an event
//   row 1          the window-opening event
//   rows 2..n-2    the other events, in playing order
//   row n-1        the trailing empty row, where an insert appends
//
// The script also keeps the grid's current row, because the commands that reshape the rows
// decide where the selection goes; the window only shows it.
#pragma once

#include "CardEvent.h"

#include <optional>
#include <vector>

// The first row that can hold an event other than the window opening.
inline constexpr int kFirstEventRow = 2;

// What a script file keeps of an event: its cells and, for a text, its attributes.
struct EventContent {
    EventCells Cells;
    std::optional<TDataTexte> Texte;
    bool operator==(const EventContent&) const = default;
};

class CardScript {
public:
    CardScript(); // header, window opening "None", "Zoom", "1", trailing empty row

    int RowCount() const { return int(rows_.size()); }
    const CardEvent& Row(int row) const; // std::out_of_range outside 0..RowCount()-1
    CardEvent& Row(int row);

    // The row under the selection bar. Never the header while there is another row.
    int CurrentRow() const { return current_; }
    void SetCurrentRow(int row); // clamped to the rows that can be selected

    // How an editor that the user confirms writes its event at `targetRow`:
    // in insert mode the rows from `targetRow` on move down one place, whole, with their
    // objects; then the cells are written at `targetRow` (the objects already there stay).
    // When this leaves an event in the last row, a new trailing empty row is added and the
    // selection moves down with the event it was on.
    void WriteEventRow(int targetRow, bool editMode, const EventCells& cells);

    // Removes the event of `row` (2 or below; the header and the window opening cannot go):
    // the rows below move up, whole, and the row's objects are freed. The selection keeps its
    // row number unless the grid shrinks below it. A row without an event is left alone and
    // the answer is false.
    bool DeleteEvent(int row);
    // Removes row `row` (1 or below) whole, whatever it holds; the rows below move up with
    // their objects. The selection keeps its row number unless the grid shrinks below it.
    void EraseRow(int row);

    // Removes every event from row 2 up to the trailing empty row; the header and the
    // window-opening row, as they are, stay.
    void ClearEvents();

    // Leaves the header and one empty row, selected: the list that a script file fills from
    // row 1 down.
    void EmptyToHeader();
    // Adds an empty row at the end: the new trailing row once the last one has been filled.
    void AppendEmptyRow() { rows_.emplace_back(); }

    // Every row, header and trailing row included, and the way to put rows back in place of
    // others: `count` rows from `first` are replaced by `rows`. This is how the edit history
    // compares the list before and after a change, and takes a change back.
    const std::vector<CardEvent>& Rows() const { return rows_; }
    void SpliceRows(int first, int count, const std::vector<CardEvent>& rows);

    // The events in order as a script file keeps them (neither the selection nor rows without
    // an event count): two scripts of equal content save alike.
    std::vector<EventContent> Content() const;

    // The nearest row above `row` that is a Background whose Data names a picture (is not
    // "Previous"); 0 when there is none.
    int FindBackgroundAbove(int row) const;

private:
    void CheckRow(int row) const;
    std::vector<CardEvent> rows_;
    int current_ = 2;
};
