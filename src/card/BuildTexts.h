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
// Another build (the tool or velmora-build) works in the program directory.
inline constexpr const char* kWaitingForOtherBuild = "\rWaiting for another build\rto finish...";

inline constexpr const char* kSuccess = "The card has been successfully created";

inline std::string WavNotFound(const std::string& path) { return "The Wav file '" + path + "' has not been found."; }
inline std::string MidiNotFound(const std::string& path) {
    return "The midi file '" + path + "' has not been found.";
}
// A sound or tune that the card could not play (a file of another kind named as one).
inline std::string NotAWavSound(const std::string& path, int row) {
    return "The Wav file '" + path + "' of row " + std::to_string(row) + " is not a WAV sound.";
}
inline std::string NotAMidiTune(const std::string& path, int row) {
    return "The midi file '" + path + "' of row " + std::to_string(row) + " is not a MIDI tune.";
}
// A text event whose placement never ran (a script load that stopped half-way).
inline std::string TextWithoutImage(int row) {
    return "The text event of row " + std::to_string(row) +
           " has no text image. Open its text editor and place the text again, then build the card.";
}
// The card would take the place of the player stub or of a file that the build makes and
// deletes, and so be lost or spoil every later card.
inline std::string OutputIsWorkingFile(const std::string& output, const std::string& working) {
    return "The card cannot be saved as '" + output + "': the build itself uses the file '" +
           working + "'. Choose another name or folder.";
}
// The player reads every size as a signed 32-bit number.
inline std::string FileTooLarge(const std::string& path) {
    return "The file '" + path +
           "' is too large for a card: a packed file must be smaller than 2 GiB.";
}
inline std::string TimingTooLong(int row, const std::string& timing) {
    return "The timing of row " + std::to_string(row) + " (" + timing +
           " seconds) is too long for a card: it must be less than 2147484 seconds.";
}
// The user's working folder in the cache, which must be the user's own.
inline std::string WorkFolderIsLink(const std::string& dir) {
    return "The working folder '" + dir +
           "' is a symbolic link. Builds work only in a folder of your own: remove the link.";
}
inline std::string WorkFolderNotOwn(const std::string& dir) {
    return "The working folder '" + dir +
           "' does not belong to you. Builds work only in a folder of your own: remove it, or "
           "set XDG_CACHE_HOME to a folder of yours.";
}
// The card as written did not pass the package reader, so it would not play.
inline std::string CardUnreadable(const std::string& output, const std::string& why) {
    return "The card '" + output + "' was not created: it does not read back (" + why + ").";
}
} // namespace buildtext
