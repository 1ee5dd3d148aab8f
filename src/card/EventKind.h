// The seven kinds of card event and their labels in the grid.
#pragma once

#include <optional>
#include <string_view>

enum class EventKind {
    OpenWindow,
    Background,
    RestoreBackground,
    Text,
    SoundEffect,
    Music,
    Pause,
};
inline constexpr int kEventKindCount = 7;

std::string_view KindLabel(EventKind kind);

// The kind whose label is exactly `label`; none for anything else, "text" and "Text " included.
std::optional<EventKind> KindOfLabel(std::string_view label);
