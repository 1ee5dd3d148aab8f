// The text label of a Text event: its message laid out in the event's font and drawn with a
// transparent background. The script loader's renderer and the placement window both draw it
// through this class, so both give the same pixels.
#pragma once

#include "ColorTbl.h"
#include "TDataTexte.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class TextLabel {
public:
    // Every CR (or LF, or CR LF) of `message` ends a line, and a last line needs none: the
    // stored message "Happy\rBirthday\r" is two lines. Sizes in points are taken at a fixed
    // 96 dots per inch, so the card looks the same whatever the screen. `alignment` places
    // the shorter lines (taLeftJustify, taRightJustify, taCenter).
    TextLabel(const std::string& message, const TFont& font, uint8_t alignment);

    int64_t Width() const { return width_; }   // the widest line
    int64_t Height() const { return height_; } // all the lines
    // The colour of every pixel that a glyph covers: the text is drawn without smoothing.
    TPlatformColor Color() const;

    // Draws the lines with the label's top-left corner at (left, top); nothing falls outside
    // the label or the image.
    void Draw(QImage& image, int64_t left, int64_t top) const;

private:
    QFont font_;
    QColor color_;
    uint8_t alignment_;
    std::vector<QString> lines_;
    std::vector<int64_t> lineWidths_;
    int64_t lineHeight_ = 0;
    int64_t ascent_ = 0;
    int64_t width_ = 0;
    int64_t height_ = 0;
};
