#include "ScriptLineReader.h"

#include "ScriptFileTexts.h"

#include <limits>

namespace {
// Blanks, tabs, line ends and the other control characters separate numbers.
constexpr int kLastSeparator = 32;
} // namespace

int ScriptLineReader::Peek() {
    if (pending_ >= 0 || ended_) return pending_;
    uint8_t c = 0;
    if (source_.ReadSome(&c, 1) == 0 || c == uint8_t(scripttext::kEndOfFile)) {
        ended_ = true;
        return -1;
    }
    pending_ = c;
    return pending_;
}

void ScriptLineReader::Take() {
    lineLength_ = pending_ == scripttext::kCR ? 0 : lineLength_ + 1;
    pending_ = -1;
    if (++taken_ > scripttext::kMaxBytes)
        throw EInOutError(
            scripttext::TooLarge("more than " + std::to_string(scripttext::kMaxBytes) + " bytes"));
    if (lineLength_ > scripttext::kMaxLineLength)
        throw EInOutError(scripttext::TooLarge(
            "a line of more than " + std::to_string(scripttext::kMaxLineLength) + " characters"));
}

std::string ScriptLineReader::ReadLine() {
    std::string line;
    for (int c = Peek(); c >= 0 && c != scripttext::kCR; c = Peek()) {
        line.push_back(char(c));
        Take();
    }
    SkipLine();
    return line;
}

void ScriptLineReader::SkipLine() {
    int c = Peek();
    while (c >= 0 && c != scripttext::kCR) {
        Take();
        c = Peek();
    }
    if (c < 0) return;
    Take();
    if (Peek() == scripttext::kLF) Take();
}

int32_t ScriptLineReader::ReadNumber() {
    int c = Peek();
    while (c >= 0 && c <= kLastSeparator) {
        Take();
        c = Peek();
    }
    if (c < 0) return 0;

    // The digits are taken one by one, so a field of any length costs no memory; the value
    // is kept as its magnitude, which for the most negative number is one past the largest
    // positive one.
    bool negative = false;
    bool valid = true;
    bool anyDigit = false;
    int64_t magnitude = 0;
    const int64_t maxMagnitude = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    if (c == '-' || c == '+') {
        negative = c == '-';
        Take();
        c = Peek();
    }
    for (; c > kLastSeparator; c = Peek()) {
        Take();
        if (c < '0' || c > '9') {
            valid = false;
            continue;
        }
        anyDigit = true;
        if (valid) magnitude = magnitude * 10 + (c - '0');
        if (magnitude > maxMagnitude || (!negative && magnitude == maxMagnitude)) valid = false;
    }
    if (!valid || !anyDigit) throw EInOutError(fileio::kInvalidNumericInput);
    SkipLine();
    return int32_t(negative ? -magnitude : magnitude);
}
