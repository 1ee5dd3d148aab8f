// What the card player says. Errors go to stderr (and, when the card plays in its window, to
// a message box too), the card's contents to stdout.
#pragma once

#include <string>

namespace playertext {
inline constexpr const char* kListOption = "--list";
inline constexpr const char* kRenderOption = "--render";
inline constexpr const char* kFpsOption = "--fps";
inline constexpr const char* kUntilOption = "--until";
inline constexpr const char* kAudioOption = "--audio";
inline constexpr const char* kUsage =
    "Usage: %s [--list | --render DIR [--fps N] [--until MS] | --audio OUT.wav]\n"
    "  (nothing)     play the card in its window; Escape or the close box ends it\n"
    "  --list        print each packed file's name and size, then the player script\n"
    "  --render DIR  write the card's frames into DIR as PNG files, N a second (1 to 1000,\n"
    "                25 if not given), up to MS milliseconds (the card's end if not given)\n"
    "  --audio OUT.wav  write the card's sound track, 16-bit stereo at 44100 Hz\n";
inline constexpr const char* kNoPackage =
    "This is the card player without a card: no package follows the program in its file.\n";
inline constexpr const char* kCannotReadSelf = "The card cannot read its own file: %s\n";
inline constexpr const char* kDamaged = "This card is damaged. %s\n";
inline constexpr const char* kCannotRender = "The frames cannot be written. %s\n";
inline constexpr const char* kCannotWriteSound = "The sound track cannot be written. %s\n";
inline constexpr const char* kRendered = "%lld frames written to %s\n";
inline constexpr const char* kSoundWritten = "Sound track written to %s\n";
inline constexpr const char* kNoDisplay =
    "This card needs a display to play: %s. Run it on a desktop, or with --render DIR to "
    "write its frames.\n";
inline constexpr const char* kNoDesktop = "neither DISPLAY nor WAYLAND_DISPLAY is set";
inline constexpr const char* kNoVideoDevice = "No available video device";
// The window's title: the card file's name without this ending (in any letter case).
inline constexpr const char* kCardExtension = ".exe";
inline constexpr const char* kUntitled = "Card";

inline std::string NoSound(const std::string& reason) {
    return "The card plays without sound: no sound device (" + reason + ").";
}
inline std::string WithoutSound(const std::string& file, const std::string& reason) {
    return "The card plays on without \"" + file + "\": " + reason;
}
} // namespace playertext
