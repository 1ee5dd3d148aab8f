// The words of a card script file (*.vlm) and the notice of a load that cannot go on.
#pragma once

#include <cstdint>
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

// A text that no line of the file can hold.
inline constexpr const char* kFontNameField = "font name";
inline std::string Unsavable(const std::string& field, int row) {
    return "The script has not been saved: the " + field + " of row " + std::to_string(row) +
           " holds a line break or a Ctrl-Z character, which a script file cannot hold.";
}

// What a script may cost. Far beyond any card (hours of events), they keep a file from
// elsewhere, or an endless pipe, from taking the machine's memory or time: every row costs
// some memory however short its line, and a message line is laid out whole.
inline constexpr int kMaxRows = 100'000;
inline constexpr int64_t kMaxLineLength = 65'536;
inline constexpr int64_t kMaxBytes = int64_t(64) << 20;
// The text images a script's texts make, kept in memory: at most this many pixels in all.
inline constexpr int64_t kMaxTextImagePixels = int64_t(1) << 28;
inline std::string TooLarge(const std::string& what) {
    return "This card script is too large to load: it has " + what + ".";
}
} // namespace scripttext
