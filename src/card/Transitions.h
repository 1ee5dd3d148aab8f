// The three transition lists, in the order the editors offer them. Their texts, trailing
// blanks included, and their order are what the player script's numbers mean.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace transitions {
// The window opening.
inline constexpr std::array<std::string_view, 4> kWindowOpening = {
    "No transition", "Zoom", "Slide down", "Slide right"};
// Backgrounds and the restoring of the background.
inline constexpr std::array<std::string_view, 12> kPicture = {
    "Scroll Down",        "Scroll Up",       "Scroll Left ",     "Scroll Right",
    "Blinds",             "Mosaic",          "Open Horizontally", "Close Horizontally",
    "Open Vertically",    "Close Vertically", "Zoom",            "Unfold"};
// Texts.
inline constexpr std::array<std::string_view, 6> kText = {
    "Slide Down", "Slide Up", "Slide Left ", "Slide Right", "Blinds", "Mosaic"};

// Position (from 0) of the first entry equal to `text` ignoring letter case, or -1.
int Position(std::span<const std::string_view> list, std::string_view text);
} // namespace transitions
