// What the card player says. Errors go to stderr, the card's contents to stdout.
#pragma once

namespace playertext {
inline constexpr const char* kListOption = "--list";
inline constexpr const char* kRenderOption = "--render";
inline constexpr const char* kFpsOption = "--fps";
inline constexpr const char* kUntilOption = "--until";
inline constexpr const char* kUsage =
    "Usage: %s [--list | --render DIR [--fps N] [--until MS]]\n"
    "  --list        print each packed file's name and size, then the player script\n"
    "  --render DIR  write the card's frames into DIR as PNG files, N a second (1 to 1000,\n"
    "                25 if not given), up to MS milliseconds (the card's end if not given)\n";
inline constexpr const char* kNoPackage =
    "This is the card player without a card: no package follows the program in its file.\n";
inline constexpr const char* kCannotReadSelf = "The card cannot read its own file: %s\n";
inline constexpr const char* kDamaged = "This card is damaged. %s\n";
inline constexpr const char* kCannotRender = "The frames cannot be written. %s\n";
inline constexpr const char* kRendered = "%lld frames written to %s\n";
inline constexpr const char* kHolds = "Packed files in this card (%zu):";
inline constexpr const char* kNoPlayback =
    "Playing a card is not available in this version of the player; run it with --list to see "
    "its player script.\n";
} // namespace playertext
