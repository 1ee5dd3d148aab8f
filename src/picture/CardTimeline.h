// The player script read as a timeline: when each line starts, how long it lasts and what it
// draws. Lines follow one another: a transition or a wait takes its time before the next line
// starts, a sound or a tune starts and the next line goes on at once.
//
//   W                          card width   } the size of the first background, 0 without one
//   H                          card height  }
//   sT: :D,W,H                 open the card window, W x H, with opening T over D ms
//   tT:fondN.gif:D             show a background with transition T over D ms
//   tT:%:D                     show the last background again, which clears the texts
//   aT:TexteN.gif:D,X,Y        show a text image at (X, Y) with transition T over D ms
//   Wave:WaveN.wav             start a sound
//   Midi:MidiN.mid             start a tune
//   Wait:D                     wait D ms
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A player script that this player cannot read; the message names the line.
class EPlayerScriptError : public std::runtime_error {
public:
    explicit EPlayerScriptError(const std::string& message) : std::runtime_error(message) {}
};

enum class TStepKind { OpenWindow, Background, RestoreBackground, Text, Sound, Music, Wait };

// How a step draws. `None` shows the step's picture at once: the transition numbers that no
// list holds (0, -1 or beyond the list) come to this.
enum class TEffect {
    None,
    // the window opening
    OpenZoom,
    OpenSlideDown,
    OpenSlideRight,
    // backgrounds, restored backgrounds and (Blinds, Mosaic) texts
    ScrollDown,
    ScrollUp,
    ScrollLeft,
    ScrollRight,
    Blinds,
    Mosaic,
    OpenHorizontally,
    CloseHorizontally,
    OpenVertically,
    CloseVertically,
    Zoom,
    Unfold,
    // texts
    SlideDown,
    SlideUp,
    SlideLeft,
    SlideRight,
};

struct TTimelineStep {
    TStepKind Kind = TStepKind::Wait;
    int Line = 0; // in the player script, from 1
    TEffect Effect = TEffect::None;
    std::string File;     // the packed file it shows or plays; empty for the others
    int32_t X = 0, Y = 0; // where a text image's top-left corner lands on the card
    int64_t Start = 0;    // ms from the card's start
    int64_t Duration = 0; // ms until the next line starts
    int64_t DrawTime = 0; // ms its drawing takes: its duration, or 0 when shown at once

    int64_t End() const { return Start + Duration; }
};

struct TCardTimeline {
    // The card window's client area: the window-opening line's size, or the size lines'
    // when there is no such line, or kDefaultWidth x kDefaultHeight for a card without
    // background. Never 0.
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<TTimelineStep> Steps;
    int64_t End = 0; // when the last line ends
};

namespace timeline {
// The window of a card without background: small, in the proportions of a screen.
inline constexpr int32_t kDefaultWidth = 320;
inline constexpr int32_t kDefaultHeight = 240;
// A card's size comes from a GIF picture, which the reader takes up to 8192 pixels a side.
inline constexpr int32_t kMaxSide = 8192;
// A packed file's name is a plain file name: no longer than a file system takes.
inline constexpr size_t kMaxNameLength = 255;
// The longest line the builder can write: 2147483647 whole seconds.
inline constexpr int64_t kMaxDurationMs = int64_t(2147483647) * 1000;
} // namespace timeline

// Reads a whole player script; throws EPlayerScriptError at the first line that is none of
// the forms above or whose numbers are out of range. A duration written negative counts as 0.
TCardTimeline ParsePlayerScript(std::string_view script);
