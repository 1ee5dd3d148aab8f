#include "CardTimeline.h"

#include <array>
#include <charconv>
#include <limits>
#include <optional>

namespace {

// Texts quoted in messages stay readable however long or binary the line is.
std::string Excerpt(std::string_view text) {
    constexpr size_t kShown = 40;
    std::string shown;
    for (char c : text.substr(0, kShown))
        shown += (c >= 0x20 && c <= 0x7E) ? c : '?';
    return "\"" + shown + (text.size() > kShown ? "...\"" : "\"");
}

class LineReader {
public:
    LineReader(int number, std::string_view line) : number_(number), line_(line) {}

    [[noreturn]] void Fail(const std::string& what) const {
        throw EPlayerScriptError("Player script line " + std::to_string(number_) + " " +
                                 Excerpt(line_) + ": " + what);
    }

    // A decimal integer, "-" allowed, within [min, max].
    int64_t Number(std::string_view text, const char* what, int64_t min, int64_t max) const {
        int64_t value = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (text.empty() || error != std::errc() || stop != end)
            Fail(std::string(what) + " is not a whole number");
        if (value < min || value > max)
            Fail(std::string(what) + " " + std::to_string(value) + " is out of range");
        return value;
    }
    int64_t Duration(std::string_view text) const {
        // The editors write 1 to 100 seconds; a negative value would only come from a hand-made
        // timing, and takes no time.
        return std::max<int64_t>(
            0, Number(text, "the duration", -timeline::kMaxDurationMs, timeline::kMaxDurationMs));
    }
    int32_t Side(std::string_view text, const char* what) const {
        return int32_t(Number(text, what, 0, timeline::kMaxSide));
    }
    int32_t Coordinate(std::string_view text, const char* what) const {
        return int32_t(Number(text, what, std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::max()));
    }

    // Cuts "a,b,c" into exactly `N` fields.
    template <size_t N> std::array<std::string_view, N> Fields(std::string_view text) const {
        std::array<std::string_view, N> fields;
        for (size_t i = 0; i < N; ++i) {
            const size_t comma = i + 1 < N ? text.find(',') : std::string_view::npos;
            if (i + 1 < N && comma == std::string_view::npos)
                Fail("expected " + std::to_string(N) + " numbers separated by commas");
            fields[i] = text.substr(0, comma);
            if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
        }
        return fields;
    }

    // "T:" after the line's letter: the transition number, and the rest of the line after it.
    std::pair<int64_t, std::string_view> Transition() const {
        const size_t colon = line_.find(':');
        if (colon == std::string_view::npos) Fail("no ':' after the transition number");
        // Any number is a transition, known or not; only what is no number is refused.
        const int64_t value =
            Number(line_.substr(1, colon - 1), "the transition",
                   std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max());
        return {value, line_.substr(colon + 1)};
    }

    // A packed file's name, which the card's manifest holds on a line of its own.
    std::string FileName(std::string_view name) const {
        if (name.empty()) Fail("no file name");
        if (name.size() > timeline::kMaxNameLength)
            Fail("a file name longer than " + std::to_string(timeline::kMaxNameLength) + " bytes");
        return std::string(name);
    }

    // "name:rest", split at the last colon: a packed file's name and what follows it.
    std::pair<std::string, std::string_view> NameAndRest(std::string_view text) const {
        const size_t colon = text.rfind(':');
        if (colon == std::string_view::npos) Fail("no ':' after the file name");
        return {FileName(text.substr(0, colon)), text.substr(colon + 1)};
    }

    std::string_view Line() const { return line_; }

private:
    int number_;
    std::string_view line_;
};

// Written transition number -> effect, for each line's list.
TEffect FromList(int64_t number, std::initializer_list<TEffect> list, int64_t first) {
    const int64_t index = number - first;
    return index >= 0 && index < int64_t(list.size()) ? list.begin()[index] : TEffect::None;
}

TEffect OpeningEffect(int64_t number) {
    using enum TEffect;
    return FromList(number, {None, OpenZoom, OpenSlideDown, OpenSlideRight}, 0);
}
TEffect PictureEffect(int64_t number) {
    using enum TEffect;
    return FromList(number,
                    {ScrollDown, ScrollUp, ScrollLeft, ScrollRight, Blinds, Mosaic,
                     OpenHorizontally, CloseHorizontally, OpenVertically, CloseVertically, Zoom,
                     Unfold},
                    1);
}
TEffect TextEffect(int64_t number) {
    using enum TEffect;
    return FromList(number, {SlideDown, SlideUp, SlideLeft, SlideRight, Blinds, Mosaic}, 1);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

struct WindowSize {
    int32_t Width, Height;
};

// One event line; a window-opening line also gives the window's size.
TTimelineStep ParseStep(const LineReader& line, std::optional<WindowSize>& window) {
    const std::string_view text = line.Line();
    TTimelineStep step;
    const auto fileAfter = [&](std::string_view prefix) {
        return line.FileName(text.substr(prefix.size()));
    };
    if (StartsWith(text, "Wave:")) {
        step.Kind = TStepKind::Sound;
        step.File = fileAfter("Wave:");
    } else if (StartsWith(text, "Midi:")) {
        step.Kind = TStepKind::Music;
        step.File = fileAfter("Midi:");
    } else if (StartsWith(text, "Wait:")) {
        step.Kind = TStepKind::Wait;
        step.Duration = line.Duration(text.substr(5));
    } else if (StartsWith(text, "s")) {
        const auto [number, rest] = line.Transition();
        if (!StartsWith(rest, " :")) line.Fail("expected ' :' after the transition number");
        const auto [duration, width, height] = line.Fields<3>(rest.substr(2));
        step.Kind = TStepKind::OpenWindow;
        step.Effect = OpeningEffect(number);
        step.Duration = line.Duration(duration);
        const WindowSize size{line.Side(width, "the width"), line.Side(height, "the height")};
        if (!window) window = size;
    } else if (StartsWith(text, "t")) {
        const auto [number, rest] = line.Transition();
        const auto [name, duration] = line.NameAndRest(rest);
        step.Kind = name == "%" ? TStepKind::RestoreBackground : TStepKind::Background;
        step.Effect = PictureEffect(number);
        if (step.Kind == TStepKind::Background) step.File = name;
        step.Duration = line.Duration(duration);
    } else if (StartsWith(text, "a")) {
        const auto [number, rest] = line.Transition();
        const auto [name, numbers] = line.NameAndRest(rest);
        const auto [duration, x, y] = line.Fields<3>(numbers);
        step.Kind = TStepKind::Text;
        step.Effect = TextEffect(number);
        step.File = name;
        step.Duration = line.Duration(duration);
        step.X = line.Coordinate(x, "X");
        step.Y = line.Coordinate(y, "Y");
    } else {
        line.Fail("not a line of a player script");
    }
    step.DrawTime = step.Effect == TEffect::None ? 0 : step.Duration;
    return step;
}

// Lines end with CR LF; a bare LF and a last line without its end are taken as well.
std::vector<std::string_view> Lines(std::string_view script) {
    std::vector<std::string_view> lines;
    while (!script.empty()) {
        const size_t lf = script.find('\n');
        std::string_view line = script.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        script.remove_prefix(lf == std::string_view::npos ? script.size() : lf + 1);
    }
    return lines;
}

// Far beyond any card, and far from overflowing when a duration is added.
constexpr int64_t kMaxCardMs = int64_t(1) << 60;

} // namespace

TCardTimeline ParsePlayerScript(std::string_view script) {
    const std::vector<std::string_view> lines = Lines(script);
    if (lines.size() < 2)
        throw EPlayerScriptError("Player script: the card's width and height lines are missing");
    const int32_t width = LineReader(1, lines[0]).Side(lines[0], "the width");
    const int32_t height = LineReader(2, lines[1]).Side(lines[1], "the height");

    TCardTimeline timeline;
    std::optional<WindowSize> window;
    int64_t now = 0;
    for (size_t i = 2; i < lines.size(); ++i) {
        const LineReader line(int(i + 1), lines[i]);
        TTimelineStep step = ParseStep(line, window);
        step.Line = int(i + 1);
        step.Start = now;
        if (step.End() > kMaxCardMs) line.Fail("the card would last longer than any card can");
        now = step.End();
        timeline.Steps.push_back(std::move(step));
    }
    const WindowSize size = window.value_or(WindowSize{width, height});
    const bool empty = size.Width == 0 || size.Height == 0;
    timeline.Width = empty ? timeline::kDefaultWidth : size.Width;
    timeline.Height = empty ? timeline::kDefaultHeight : size.Height;
    timeline.End = now;
    return timeline;
}
