// Reads a card script file as lines and numbers, the way its records were always read back:
//
//   line end    CR, and one LF directly after it is stepped over; a lone LF is an ordinary
//               character, so a file with LF-only line ends is one long line
//   file end    the last byte, or a Ctrl-Z (26), whatever follows it
//   number      skip every character of code 32 or less (blanks, tabs, line ends, empty
//               lines), take the characters up to the next such one as a decimal integer,
//               then skip the rest of that line
//
// At the file end a line reads as empty text and a number as 0, without error.
// A line longer than scripttext::kMaxLineLength or a file longer than scripttext::kMaxBytes
// raises EInOutError with scripttext::TooLarge.
#pragma once

#include "FileIO.h"

#include <cstdint>
#include <string>

class ScriptLineReader {
public:
    explicit ScriptLineReader(TByteSource& source) : source_(source) {}

    bool AtEnd() { return Peek() < 0; }
    std::string ReadLine();
    void SkipLine();
    // A number field: an optional sign and decimal digits. Anything else, and any value
    // outside the signed 32-bit range, raises EInOutError "Invalid numeric input": a value
    // wrapped or cut to fit would put the text somewhere else, or paint it another colour,
    // without a word.
    int32_t ReadNumber();

private:
    int Peek(); // the next character, or -1 at the file end
    void Take();

    TByteSource& source_;
    int pending_ = -1; // a character read from the source and not yet taken
    bool ended_ = false;
    int64_t taken_ = 0;      // characters of the file
    int64_t lineLength_ = 0; // characters of the current line
};
