// What a Text event needs beyond its four cells: the font, alignment, shadow and position of
// its message on the background picture.
#pragma once

#include <cstdint>
#include <string>

// A colour value as the script files store it: 0x00BBGGRR for a plain colour, or a negative
// value (0x80000000 plus an index) naming one of the desktop's system colours, which the
// toolkit layer resolves.
using TColor = int32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008);

struct TFontStyles {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool operator==(const TFontStyles&) const = default;
};

// The largest font size a text may have, in points: a single letter then stands taller than
// any card's picture. Larger sizes read from a file are refused.
inline constexpr int kMaxFontSize = 1000;

// A font as the card keeps it: plain values, so that it can be copied, compared, saved and
// handed to whichever toolkit draws the text. Starts as the text editor's initial font.
struct TFont {
    std::string Name = "MS Sans Serif";
    int Size = 8; // points
    TColor Color = clBlack;
    TFontStyles Style;
    bool operator==(const TFont&) const = default;
};

// The toolkit's order of alignments, which is also what the script files record.
enum TAlignment : uint8_t {
    taLeftJustify = 0,
    taRightJustify = 1,
    taCenter = 2,
};

// A text image holds only the part of its capture rectangle that lies on the picture. Where
// the label begins before the picture's left or top edge, the image begins at that edge, and
// the card draws it there: this is the image's corner on the card for a label edge.
inline int32_t TextImageEdge(int32_t labelEdge) {
    return labelEdge < 0 ? 0 : labelEdge;
}

struct TDataTexte {
    TFont Font;
    uint8_t Alignment = taLeftJustify;
    bool Shadow = false;
    int32_t X = 0; // left edge of the text box on the background picture, pixels
    int32_t Y = 0; // top edge
    bool operator==(const TDataTexte&) const = default;
};
