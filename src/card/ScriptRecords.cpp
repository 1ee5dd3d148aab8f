#include "ScriptRecords.h"

#include "CardTexts.h"
#include "ScriptFileTexts.h"

#include <array>

namespace {
using cardtext::kNone;

constexpr CardColumn kTransitionTiming[] = {kColTransition, kColTiming};
constexpr CardColumn kTiming[] = {kColTiming};
constexpr CardColumn kData[] = {kColData};
constexpr CardColumn kAllThree[] = {kColData, kColTransition, kColTiming};

// In the order of EventKind.
const std::array<ScriptRecordLayout, kEventKindCount> kLayouts = {{
    {EventKind::OpenWindow, cardtext::kOpenWindow, kTransitionTiming,
     {cardtext::kOpenWindow, kNone, "", ""}},
    {EventKind::Background, cardtext::kBackground, kAllThree, {cardtext::kBackground, "", "", ""}},
    {EventKind::RestoreBackground, scripttext::kClearText, kTransitionTiming,
     {cardtext::kRestoreBackground, "", "", ""}},
    {EventKind::Text, cardtext::kText, kAllThree, {cardtext::kText, "", "", ""}},
    {EventKind::SoundEffect, cardtext::kSoundEffect, kData,
     {cardtext::kSoundEffect, "", kNone, kNone}},
    {EventKind::Music, cardtext::kMusic, kData, {cardtext::kMusic, "", kNone, kNone}},
    {EventKind::Pause, cardtext::kPause, kTiming, {cardtext::kPause, kNone, kNone, ""}},
}};
} // namespace

const ScriptRecordLayout& RecordLayout(EventKind kind) {
    return kLayouts[size_t(kind)];
}

const ScriptRecordLayout* RecordLayoutOfWord(std::string_view word) {
    for (const ScriptRecordLayout& layout : kLayouts)
        if (layout.Word == word) return &layout;
    return nullptr;
}

std::string MessageLine(std::string_view message) {
    if (!message.empty() && message.back() == scripttext::kCR) message.remove_suffix(1);
    std::string line(message);
    for (char& c : line)
        if (c == scripttext::kCR) c = scripttext::kMessageLineBreak;
    return line;
}

std::string MessageOfLine(std::string_view line) {
    if (line.empty()) return {}; // the line of an empty message; one empty line shows the same
    std::string message(line);
    for (char& c : message)
        if (c == scripttext::kMessageLineBreak) c = scripttext::kCR;
    message.push_back(scripttext::kCR);
    return message;
}

std::string_view AlignmentWord(uint8_t alignment) {
    switch (alignment) {
    case taLeftJustify:
        return scripttext::kAlignLeft;
    case taRightJustify:
        return scripttext::kAlignRight;
    default:
        return scripttext::kAlignCenter;
    }
}

uint8_t AlignmentOfWord(std::string_view word) {
    if (word == scripttext::kAlignLeft) return taLeftJustify;
    if (word == scripttext::kAlignRight) return taRightJustify;
    return taCenter;
}
