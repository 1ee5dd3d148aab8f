// One row of the card script: four text cells and, for a Text event, the two objects that its
// placement produced. The row owns its objects; they move with it and die with it.
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
    std::unique_ptr<TDataTexte> DataTexte; // object slot of column 0 (Text rows)
    std::unique_ptr<TGifFile> TextImage;   // object slot of column 1 (Text rows): the rendered text

    std::optional<EventKind> Kind() const { return KindOfLabel(Cells[kColKind]); }
    // An empty column 0 holds no event: the trailing row, or a gap left by a script file.
    bool IsEmpty() const { return Cells[kColKind].empty(); }
};
