#include "QtFont.h"

#include <QGuiApplication>
#include <QPalette>

#include <cmath>

namespace {
constexpr uint32_t kSystemColorFlag = 0x80000000u;

// The desktop's system colour indices that fonts and text use, and the palette role that
// plays the same part here. An index not listed reads as the window text colour.
struct SystemColor {
    uint8_t index;
    QPalette::ColorRole role;
};
constexpr SystemColor kSystemColors[] = {
    {4, QPalette::Window},           // menu
    {5, QPalette::Base},             // window
    {7, QPalette::WindowText},       // menu text
    {8, QPalette::Text},             // window text
    {13, QPalette::Highlight},       // highlight
    {14, QPalette::HighlightedText}, // highlight text
    {15, QPalette::Button},          // button face
    {16, QPalette::Dark},            // button shadow
    {17, QPalette::PlaceholderText}, // grey text
    {18, QPalette::ButtonText},      // button text
    {20, QPalette::Light},           // button highlight
    {21, QPalette::Shadow},          // 3D dark shadow
    {22, QPalette::Midlight},        // 3D light
    {23, QPalette::ToolTipText},     // info text
    {24, QPalette::ToolTipBase},     // info background
};

QColor SystemQColor(uint8_t index, const QPalette& palette) {
    for (const SystemColor& c : kSystemColors)
        if (c.index == index) return palette.color(c.role);
    return palette.color(QPalette::Text);
}
} // namespace

QColor ToQColor(TColor color) { return ToQColor(color, QGuiApplication::palette()); }

QColor ToQColor(TColor color, const QPalette& palette) {
    const auto value = static_cast<uint32_t>(color);
    if (value & kSystemColorFlag) return SystemQColor(uint8_t(value & 0xFF), palette);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QPalette ClassicPalette() {
    const QColor black(0, 0, 0), white(255, 255, 255), silver(192, 192, 192), grey(128, 128, 128);
    QPalette palette;
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                     QPalette::ToolTipText, QPalette::Shadow})
        palette.setColor(role, black);
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::HighlightedText, QPalette::Light})
        palette.setColor(role, white);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Midlight})
        palette.setColor(role, silver);
    for (QPalette::ColorRole role : {QPalette::Dark, QPalette::PlaceholderText})
        palette.setColor(role, grey);
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    return palette;
}

TColor FromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return TColor(uint32_t(rgb.red()) | uint32_t(rgb.green()) << 8 | uint32_t(rgb.blue()) << 16);
}

QFont ToQFont(const TFont& font) {
    QFont f(QString::fromStdString(font.Name));
    f.setPointSize(std::max(1, font.Size));
    f.setBold(font.Style.Bold);
    f.setItalic(font.Style.Italic);
    f.setUnderline(font.Style.Underline);
    f.setStrikeOut(font.Style.StrikeOut);
    return f;
}

TFont FromQFont(const QFont& font, TColor color) {
    TFont f;
    f.Name = font.family().toStdString();
    if (font.pointSizeF() > 0) f.Size = int(std::lround(font.pointSizeF())); // else: pixel-sized
    f.Color = color;
    f.Style.Bold = font.bold();
    f.Style.Italic = font.italic();
    f.Style.Underline = font.underline();
    f.Style.StrikeOut = font.strikeOut();
    return f;
}
