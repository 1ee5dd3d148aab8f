#include "PlayerScript.h"

#include "Transitions.h"

#include <charconv>
#include <initializer_list>
#include <string_view>
#include <stdexcept>

namespace playerscript {

namespace {
// A line made of its pieces.
std::string Line(std::initializer_list<std::string_view> pieces) {
    std::string line;
    for (std::string_view piece : pieces) line += piece;
    return line;
}
} // namespace

std::string BackgroundFile(int row) { return "fond" + std::to_string(row) + ".gif"; }
std::string TextFile(int row) { return "Texte" + std::to_string(row) + ".gif"; }
std::string SoundFile(int row) { return "Wave" + std::to_string(row) + ".wav"; }
std::string MusicFile(int row) { return "Midi" + std::to_string(row) + ".mid"; }

std::optional<std::string> PackedFile(EventKind kind, int row) {
    switch (kind) {
    case EventKind::Background:
        return BackgroundFile(row);
    case EventKind::Text:
        return TextFile(row);
    case EventKind::SoundEffect:
        return SoundFile(row);
    case EventKind::Music:
        return MusicFile(row);
    case EventKind::OpenWindow:
    case EventKind::Pause:
    case EventKind::RestoreBackground:
        break;
    }
    return std::nullopt;
}

std::optional<int32_t> DurationMs(const std::string& timing) {
    int64_t seconds = 0;
    const char* end = timing.data() + timing.size();
    const auto [stop, error] = std::from_chars(timing.data(), end, seconds);
    if (error == std::errc::result_out_of_range) return std::nullopt;
    if (error != std::errc() || stop != end) return 0;
    if (seconds > INT32_MAX / 1000 || seconds < INT32_MIN / 1000) return std::nullopt;
    return int32_t(seconds * 1000);
}

std::optional<std::string> EventLine(const CardEvent& event, int row, int32_t cardWidth, int32_t cardHeight) {
    const auto kind = event.Kind();
    if (!kind) return std::nullopt;
    const std::string& transition = event.Cells[kColTransition];
    const std::optional<int32_t> ms = DurationMs(event.Cells[kColTiming]);
    if (!ms) throw std::out_of_range("The timing of row " + std::to_string(row) + " does not fit");
    const std::string duration = std::to_string(*ms);
    // Pictures and texts count their transitions from 1, leaving 0 for "none of the list".
    const auto fromOne = [&](auto list) { return std::to_string(transitions::Position(list, transition) + 1); };

    switch (*kind) {
    case EventKind::OpenWindow:
        return Line({"s", std::to_string(transitions::Position(transitions::kWindowOpening, transition)), ": :",
                     duration, ",", std::to_string(cardWidth), ",", std::to_string(cardHeight)});
    case EventKind::Pause:
        return Line({"Wait:", duration});
    case EventKind::Music:
        return Line({"Midi:", MusicFile(row)});
    case EventKind::SoundEffect:
        return Line({"Wave:", SoundFile(row)});
    case EventKind::Background:
        return Line({"t", fromOne(transitions::kPicture), ":", BackgroundFile(row), ":", duration});
    case EventKind::RestoreBackground:
        return Line({"t", fromOne(transitions::kPicture), ":%:", duration});
    case EventKind::Text:
        if (!event.DataTexte) throw std::logic_error("A text event without its placement");
        return Line({"a", fromOne(transitions::kText), ":", TextFile(row), ":", duration, ",",
                     std::to_string(TextImageEdge(event.DataTexte->X)), ",",
                     std::to_string(TextImageEdge(event.DataTexte->Y))});
    }
    return std::nullopt;
}

} // namespace playerscript
