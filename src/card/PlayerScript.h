// The player script: one line per event of the card script, telling the card player what to
// show, play and wait for, and which packed file each event uses.
#pragma once

#include "CardEvent.h"

#include <cstdint>
#include <optional>
#include <string>

namespace playerscript {

// Names of the files a row's event packs, after its grid row number.
std::string BackgroundFile(int row); // "fond<row>.gif"
std::string TextFile(int row);       // "Texte<row>.gif"
std::string SoundFile(int row);      // "Wave<row>.wav"
std::string MusicFile(int row);      // "Midi<row>.mid"
// The name of the file that an event of `kind` in `row` packs; nothing for the kinds that
// pack none.
std::optional<std::string> PackedFile(EventKind kind, int row);

// The line (without its line end) for the event in grid row `row`, or nothing when the row
// holds none of the seven kinds. A Text row needs its TDataTexte, and a Timing must fit
// (std::out_of_range otherwise).
std::optional<std::string> EventLine(const CardEvent& event, int row, int32_t cardWidth, int32_t cardHeight);

// A Timing cell in milliseconds, as the player reads them: a signed 32-bit count. Nothing
// when the milliseconds do not fit; text that is not a whole decimal number counts as 0.
std::optional<int32_t> DurationMs(const std::string& timing);

} // namespace playerscript
