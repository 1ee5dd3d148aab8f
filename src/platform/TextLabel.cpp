#include "TextLabel.h"

#include "Rgb.h"
#include "QtFont.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDotsPerInch = 96;
constexpr double kPointsPerInch = 72;

QFont CardFont(const TFont& font) {
    QFont f = ToQFont(font);
    // Sizes past the largest a text may have are refused before they come here; held to it
    // all the same, the font engine is never asked for glyphs of absurd size.
    const int points = std::clamp(font.Size, 1, kMaxFontSize);
    f.setPixelSize(int(std::lround(points * kDotsPerInch / kPointsPerInch)));
    // Smoothed edges would be neither the font colour nor the picture's; the desktop drew
    // label text hard-edged too. Fixed hinting keeps the desktop's settings out of the card.
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

std::vector<QString> SplitLines(const QString& message) {
    std::vector<QString> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < message.size(); ++i) {
        if (message[i] != QLatin1Char('\r') && message[i] != QLatin1Char('\n')) continue;
        lines.push_back(message.mid(start, i - start));
        if (message[i] == QLatin1Char('\r') && i + 1 < message.size() &&
            message[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < message.size() || lines.empty()) lines.push_back(message.mid(start));
    return lines;
}
} // namespace

TextLabel::TextLabel(const std::string& message, const TFont& font, uint8_t alignment)
    : font_(CardFont(font)), color_(ToQColor(font.Color, ClassicPalette())), alignment_(alignment),
      lines_(SplitLines(QString::fromStdString(message))) {
    // Measured on the kind of device it is drawn on, not on whichever screen is at hand.
    const QImage device(1, 1, QImage::Format_RGB32);
    const QFontMetrics metrics(font_, &device);
    lineHeight_ = metrics.height();
    ascent_ = metrics.ascent();
    for (const QString& line : lines_) {
        // The font engine measures in 26.6 fixed point, so a width is below 2^25; a line long
        // enough to overflow it counts as empty rather than as a negative width.
        lineWidths_.push_back(std::max(0, metrics.horizontalAdvance(line)));
        width_ = std::max(width_, lineWidths_.back());
    }
    height_ = lineHeight_ * int64_t(lines_.size());
}

TPlatformColor TextLabel::Color() const {
    return PlatformColor(uint8_t(color_.red()), uint8_t(color_.green()), uint8_t(color_.blue()));
}

void TextLabel::Draw(QImage& image, int64_t left, int64_t top) const {
    const int64_t clipLeft = std::max<int64_t>(left, 0);
    const int64_t clipTop = std::max<int64_t>(top, 0);
    const int64_t clipRight = std::min<int64_t>(left + width_, image.width());
    const int64_t clipBottom = std::min<int64_t>(top + height_, image.height());
    if (clipLeft >= clipRight || clipTop >= clipBottom) return;

    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setClipRect(
        QRect(int(clipLeft), int(clipTop), int(clipRight - clipLeft), int(clipBottom - clipTop)));
    painter.setFont(font_);
    painter.setPen(color_);
    for (size_t i = 0; i < lines_.size(); ++i) {
        const int64_t lineTop = top + lineHeight_ * int64_t(i);
        if (lineTop >= clipBottom) break;
        if (lineTop + lineHeight_ <= clipTop) continue;
        int64_t x = left;
        if (alignment_ == taRightJustify)
            x += width_ - lineWidths_[i];
        else if (alignment_ == taCenter)
            x += (width_ - lineWidths_[i]) / 2;
        // Glyphs may reach a little past their advance (italics), never a line height past.
        if (x >= clipRight + lineHeight_ || x + lineWidths_[i] + lineHeight_ <= clipLeft) continue;
        painter.drawText(QPoint(int(x), int(lineTop + ascent_)), lines_[i]);
    }
}
