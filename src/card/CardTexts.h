// The card script's own words: the kind labels held in column 0 of the grid, the header row,
// the window-opening row of a new card and the reserved values of the cells. Every consumer
// (editors, script files, builder) compares against these exact texts.
#pragma once

#include "TDataTexte.h"

#include <string>

namespace cardtext {
// The seven kind labels. Told apart by exact, case-sensitive comparison of the whole cell.
inline constexpr const char* kOpenWindow = "Open window";
inline constexpr const char* kBackground = "Background";
inline constexpr const char* kRestoreBackground = "Restore Background";
inline constexpr const char* kText = "Text";
inline constexpr const char* kSoundEffect = "Sound effect";
inline constexpr const char* kMusic = "Music";
inline constexpr const char* kPause = "Pause";

// Row 0.
inline constexpr const char* kHeaderKind = "Effects Type";
inline constexpr const char* kHeaderData = "Data";
inline constexpr const char* kHeaderTransition = "Transition";
inline constexpr const char* kHeaderTiming = "Timing";

// A cell that carries nothing for its kind (Data of a window opening or pause, transition
// and timing of a sound or music event).
inline constexpr const char* kNone = "None";
// The window-opening row of a new card.
inline constexpr const char* kStartTransition = "Zoom";
inline constexpr const char* kStartTiming = "1";

// A Background row whose Data is this word names no picture: the background lookup passes
// over it.
inline constexpr const char* kPrevious = "Previous";

// A picture that a text or a build needs is not where the card script says; the build and
// the script loader both stop with this.
inline std::string PictureNotFound(const std::string& path) {
    return "The picture '" + path + "' has not been found.";
}

// A file in which no record of a card script was found (a picture, another text, a script
// whose lines end with LF alone): opening it changes nothing.
inline std::string NoEventFound(const std::string& path) {
    return "No card event was found in '" + path + "'.";
}

// A text whose font no picture could hold.
inline std::string FontTooLarge(int row, int size) {
    return "The text of row " + std::to_string(row) + " has a font size of " +
           std::to_string(size) + " points, more than the " + std::to_string(kMaxFontSize) +
           " a card can show.";
}

// The player script that a build leaves in the program directory.
inline constexpr const char* kPlayerScriptName = "script.txt";
} // namespace cardtext
