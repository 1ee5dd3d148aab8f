// The records of a card script file: one per event, from row 1 down, with nothing before,
// between or after them. Each opens with its kind word on a line of its own; the cells the
// kind carries follow, one line each; the reader gives the other cells fixed values.
//
//   kind word             cells, in file order            restored on reading
//   "Open window"         Transition, Timing              Data "None"
//   "Pause"               Timing                          Data, Transition "None"
//   "Music"               Data                            Transition, Timing "None"
//   "Sound effect"        Data                            Transition, Timing "None"
//   "Background"          Data, Transition, Timing
//   "Clear Text"          Transition, Timing              Data empty
//   "Text"                Data as the message line, Transition, Timing, then the TDataTexte:
//                         X, Y, font colour, font size, font name, bold, italic, underline,
//                         strike-out, alignment word, shadow
#pragma once

#include "CardEvent.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

struct ScriptRecordLayout {
    EventKind Kind;
    std::string_view Word;
    std::span<const CardColumn> Fields; // the cells the record carries, in file order
    EventCells Restored;                // every cell before the record's own are read
};

const ScriptRecordLayout& RecordLayout(EventKind kind);
// The record that opens with this exact line; none for any other text.
const ScriptRecordLayout* RecordLayoutOfWord(std::string_view word);

// A message (lines each ended by CR) as its line in the file: the lines joined by "|".
// Read back, every "|" becomes a line break and one CR ends the message, and an empty line is
// the empty message; the writer follows the line with a CR of its own, so the line is always
// followed by the empty line the reader steps over.
std::string MessageLine(std::string_view message);
std::string MessageOfLine(std::string_view line);

std::string_view AlignmentWord(uint8_t alignment);
uint8_t AlignmentOfWord(std::string_view word);
