#include "EventKind.h"

#include "CardTexts.h"

#include <array>

namespace {
// In the order of the enumeration.
constexpr std::array<std::string_view, kEventKindCount> kLabels = {
    cardtext::kOpenWindow, cardtext::kBackground,  cardtext::kRestoreBackground,
    cardtext::kText,       cardtext::kSoundEffect, cardtext::kMusic,
    cardtext::kPause,
};
} // namespace

std::string_view KindLabel(EventKind kind) {
    return kLabels[static_cast<size_t>(kind)];
}

std::optional<EventKind> KindOfLabel(std::string_view label) {
    for (size_t i = 0; i < kLabels.size(); ++i)
        if (kLabels[i] == label) return static_cast<EventKind>(i);
    return std::nullopt;
}
