// The card build's words: the progress window's labels and the messages of the build.
#pragma once

#include "CardTexts.h"

#include <string>

namespace buildtext {
// Labels: a leading CR leaves the first of the label's lines empty.
inline constexpr const char* kInitializing = "\rInitializing...";
inline constexpr const char* kSavingBackground = "\rSaving Background...\rTransition #";
inline constexpr const char* kSavingText = "\rSaving Text...\rTransition #";
inline constexpr const char* kSavingWave = "\rSaving Wave...\rTransition #";
inline constexpr const char* kSavingMidi = "\rSaving Midi...\rTransition #";
inline constexpr const char* kSavingPause = "\rSaving pause...\rTransition #";
inline constexpr const char* kSavingOpenWindow = "\rSaving Open Window ...\rTransition #";
inline constexpr const char* kCompacting = "\rCompacting...";

inline constexpr const char* kSuccess = "The card has been successfully created";

inline std::string WavNotFound(const std::string& path) { return "The Wav file '" + path + "' has not been found."; }
inline std::string MidiNotFound(const std::string& path) {
    return "The midi file '" + path + "' has not been found.";
}
// A text event whose placement never ran (a script load that stopped half-way).
inline std::string TextWithoutImage(int row) {
    return "The text event of row " + std::to_string(row) +
           " has no text image. Open its text editor and place the text again, then build the card.";
}
} // namespace buildtext
