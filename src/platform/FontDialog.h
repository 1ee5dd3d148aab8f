// The font dialog: face, size and style as the toolkit's font chooser offers them, plus the
// colour, which belongs to a card's font and which the toolkit's chooser leaves out.
// The chooser can show only the faces and styles this machine has: an italic of a family
// without one it shows as some other style, a face that is missing as another. So what the
// person changes is taken from it, and what they leave keeps the value it was given.
#pragma once

#include "TDataTexte.h"

#include <QDialog>

class QFontDialog;
class QLabel;

class FontDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontDialog(QWidget* parent = nullptr);

    void SetChoice(const TFont& font);
    TFont Choice() const;
    void SetColour(TColor color);

private:
    void PickColour();

    QFontDialog* fontPicker_;
    QLabel* swatch_;
    TFont given_; // the font of the last SetChoice
    TFont shown_; // how the chooser showed it
    // Kept as given until the user picks another colour, so that a system colour stays one.
    TColor color_ = clBlack;
};
