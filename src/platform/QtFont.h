// The card's plain font and colour values in the toolkit's terms.
#pragma once

#include "TDataTexte.h"

#include <QColor>
#include <QFont>

// A plain colour directly; a system colour as the application palette shows it.
QColor ToQColor(TColor color);
// Always a plain colour value.
TColor FromQColor(const QColor& color);

QFont ToQFont(const TFont& font);
// The face, size and style of `font`, with the colour `color`.
TFont FromQFont(const QFont& font, TColor color);
