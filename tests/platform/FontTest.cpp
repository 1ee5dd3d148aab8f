// Fonts and colours between the card's plain values and Qt, and the font dialog's choice.

#include "FontDialog.h"
#include "QtFont.h"

#include <QFontDialog>

#include <gtest/gtest.h>

namespace {

TEST(QtFont, PlainColoursAreBlueGreenRedFromTheHighByteDown) {
    EXPECT_EQ(ToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(FromQColor(QColor(0x99, 0x66, 0x33)), 0x00336699);
    EXPECT_EQ(FromQColor(QColor(Qt::white)), 0x00FFFFFF);
    EXPECT_EQ(ToQColor(clBlack), QColor(Qt::black));
}

TEST(QtFont, FontsKeepFaceSizeAndStyleThroughQt) {
    TFont font;
    font.Name = "DejaVu Serif";
    font.Size = 14;
    font.Style = {.Bold = true, .Italic = false, .Underline = true, .StrikeOut = true};
    const QFont q = ToQFont(font);
    EXPECT_EQ(q.family(), "DejaVu Serif");
    EXPECT_EQ(q.pointSize(), 14);
    EXPECT_TRUE(q.bold());
    EXPECT_FALSE(q.italic());
    font.Color = 0x0000FF;
    EXPECT_EQ(FromQFont(q, 0x0000FF), font);
}

TEST(FontDialog, ChoiceKeepsASystemColourUntilAnotherIsPicked) {
    FontDialog dialog;
    TFont font;
    font.Name = "DejaVu Sans";
    font.Size = 12;
    font.Color = clWindowText;
    font.Style.Italic = true;
    dialog.SetChoice(font);
    EXPECT_EQ(dialog.Choice(), font); // not resolved to the palette's colour

    dialog.SetColour(0x00102030);
    font.Color = 0x00102030;
    EXPECT_EQ(dialog.Choice(), font);

    // A size picked is taken; the italic stays, though a family without one may not show it.
    auto* picker = dialog.findChild<QFontDialog*>();
    QFont bigger = picker->currentFont();
    bigger.setPointSize(font.Size = 20);
    picker->setCurrentFont(bigger);
    EXPECT_EQ(dialog.Choice(), font);
}

} // namespace
