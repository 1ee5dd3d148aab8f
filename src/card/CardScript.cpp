#include "CardScript.h"

#include "CardTexts.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {
constexpr int kStartRowCount = 3;
} // namespace

CardScript::CardScript() : rows_(kStartRowCount) {
    rows_[0].Cells = {cardtext::kHeaderKind, cardtext::kHeaderData, cardtext::kHeaderTransition,
                      cardtext::kHeaderTiming};
    rows_[1].Cells = {cardtext::kOpenWindow, cardtext::kNone, cardtext::kStartTransition,
                      cardtext::kStartTiming};
    current_ = kFirstEventRow;
}

void CardScript::CheckRow(int row) const {
    if (row < 0 || row >= RowCount())
        throw std::out_of_range("Card script row " + std::to_string(row) + " does not exist");
}

const CardEvent& CardScript::Row(int row) const {
    CheckRow(row);
    return rows_[size_t(row)];
}

CardEvent& CardScript::Row(int row) {
    CheckRow(row);
    return rows_[size_t(row)];
}

void CardScript::SetCurrentRow(int row) {
    // The header is a fixed row: the selection falls on it only when nothing else is left.
    current_ = std::clamp(row, std::min(1, RowCount() - 1), RowCount() - 1);
}

void CardScript::WriteEventRow(int targetRow, bool editMode, const EventCells& cells) {
    if (targetRow < 1 || targetRow >= RowCount())
        throw std::out_of_range("No event can be written at row " + std::to_string(targetRow));
    const int lastVisible = RowCount() - 1;
    if (!editMode) rows_.emplace(rows_.begin() + targetRow); // the gap; the last row slides out
    rows_[size_t(targetRow)].Cells = cells;

    if (!rows_[size_t(lastVisible)].IsEmpty()) {
        // The event now in the last visible row needs a trailing empty row below it: in insert
        // mode that is the row that slid out, otherwise a new one.
        if (editMode) rows_.emplace_back();
        current_ += 1;
    } else if (!editMode && rows_.back().IsEmpty()) {
        // An empty row that slid out is dropped, so the grid keeps its size; an event never is.
        rows_.pop_back();
    }
}

bool CardScript::DeleteEvent(int row) {
    if (row < kFirstEventRow || row >= RowCount())
        throw std::out_of_range("Row " + std::to_string(row) + " cannot be deleted");
    if (rows_[size_t(row)].IsEmpty()) return false;
    EraseRow(row);
    return true;
}

void CardScript::EraseRow(int row) {
    if (row < 1) throw std::out_of_range("The header row cannot be removed");
    CheckRow(row);
    rows_.erase(rows_.begin() + row);
    SetCurrentRow(current_);
}

void CardScript::ClearEvents() {
    if (RowCount() <= kStartRowCount) return;
    // Rows 2 .. n-2 go; the last row (the trailing empty row) moves up to row 2.
    rows_.erase(rows_.begin() + kFirstEventRow, rows_.end() - 1);
    SetCurrentRow(current_);
}

void CardScript::EmptyToHeader() {
    rows_.erase(rows_.begin() + 1, rows_.end());
    rows_.emplace_back();
    current_ = 1;
}

void CardScript::SpliceRows(int first, int count, const std::vector<CardEvent>& rows) {
    if (first < 0 || count < 0 || first + count > RowCount())
        throw std::out_of_range("Rows " + std::to_string(first) + " to " +
                                std::to_string(first + count - 1) + " do not exist");
    const auto at = rows_.erase(rows_.begin() + first, rows_.begin() + first + count);
    rows_.insert(at, rows.begin(), rows.end());
    SetCurrentRow(current_);
}

std::vector<EventContent> CardScript::Content() const {
    std::vector<EventContent> content;
    for (const CardEvent& e : rows_) {
        if (!e.Kind()) continue;
        content.push_back({e.Cells, e.DataTexte ? std::optional(*e.DataTexte) : std::nullopt});
    }
    return content;
}

int CardScript::FindBackgroundAbove(int row) const {
    for (int r = std::min(row, RowCount()) - 1; r > 0; --r) {
        const CardEvent& e = rows_[size_t(r)];
        if (e.Kind() == EventKind::Background && e.Cells[kColData] != cardtext::kPrevious) return r;
    }
    return 0;
}
