// The words of a card script file (*.vlm) and the notice of a load that cannot go on.
#pragma once

#include <string>

namespace scripttext {
// Lines end with CR LF on writing; reading ends a line at CR alone and steps over one LF.
inline constexpr char kCR = '\r';
inline constexpr char kLF = '\n';
inline constexpr const char* kLineEnd = "\r\n";
// Ctrl-Z: everything after it is not part of the file.
inline constexpr char kEndOfFile = 26;
// Stands for each line break inside a message, which is held on one line.
inline constexpr char kMessageLineBreak = '|';

// The kind word of a "Restore Background" row; the other kinds are written with their labels.
inline constexpr const char* kClearText = "Clear Text";

inline constexpr const char* kAlignLeft = "Left";
inline constexpr const char* kAlignRight = "Right";
inline constexpr const char* kAlignCenter = "Center";
// Style and shadow lines: only exactly "1" sets them.
inline constexpr const char* kSet = "1";
inline constexpr const char* kNotSet = "0";
} // namespace scripttext
