// The card's plain font and colour values in the toolkit's terms.
#pragma once

#include "TDataTexte.h"

#include <QColor>
#include <QFont>
#include <QPalette>

// A plain colour directly; a system colour as the application palette shows it.
QColor ToQColor(TColor color);
// A plain colour directly; a system colour as `palette` shows it.
QColor ToQColor(TColor color, const QPalette& palette);
// The classic desktop's system colours (black text on white windows, silver buttons), for
// what must look the same whatever the desktop's theme: the pictures of a card.
QPalette ClassicPalette();
// Always a plain colour value.
TColor FromQColor(const QColor& color);

QFont ToQFont(const TFont& font);
// The face, size and style of `font`, with the colour `color`.
TFont FromQFont(const QFont& font, TColor color);
