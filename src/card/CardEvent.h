// One row of the card script: four text cells and, for a Text event, the two objects that its
// placement produced. The objects move with their row. The edit history shares them, to bring
// the row back on an undo without copying its picture, so they are never changed once
// attached: a new placement attaches new ones.
#pragma once

#include "EventKind.h"
#include "GifUnit.h"
#include "TDataTexte.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

enum CardColumn : int {
    kColKind = 0,
    kColData = 1,
    kColTransition = 2,
    kColTiming = 3,
};
inline constexpr int kCardColumnCount = 4;

using EventCells = std::array<std::string, kCardColumnCount>;

struct CardEvent {
    EventCells Cells;
    std::shared_ptr<const TDataTexte> DataTexte; // object slot of column 0 (Text rows)
    // Object slot of column 1 (Text rows): the rendered text. Not const only because saving
    // a GIF keeps its compressed data, which changes no pixel.
    std::shared_ptr<TGifFile> TextImage;

    std::optional<EventKind> Kind() const { return KindOfLabel(Cells[kColKind]); }
    // An empty column 0 holds no event: the trailing row, or a gap left by a script file.
    bool IsEmpty() const { return Cells[kColKind].empty(); }
    // The same cells and the very same objects.
    bool SameAs(const CardEvent& other) const {
        return Cells == other.Cells && DataTexte == other.DataTexte && TextImage == other.TextImage;
    }
};
