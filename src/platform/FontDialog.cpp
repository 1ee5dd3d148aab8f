#include "FontDialog.h"

#include "PlatformTexts.h"
#include "QtFont.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FontDialog::FontDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(platformtext::kFontCaption);

    // The toolkit's chooser, embedded as a plain widget without its own buttons.
    fontPicker_ = new QFontDialog(this);
    fontPicker_->setWindowFlags(Qt::Widget);
    fontPicker_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fontPicker_->setSizeGripEnabled(false);

    swatch_ = new QLabel(this);
    swatch_->setFixedSize(48, 20);
    swatch_->setFrameShape(QFrame::Box);
    swatch_->setAutoFillBackground(true);
    auto* colourButton = new QPushButton(platformtext::kColourButton, this);
    connect(colourButton, &QPushButton::clicked, this, &FontDialog::PickColour);

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(platformtext::kColourLabel, this));
    colourRow->addWidget(swatch_);
    colourRow->addWidget(colourButton);
    colourRow->addStretch();

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(platformtext::kOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fontPicker_);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
    SetColour(color_);
    given_ = shown_ = FromQFont(fontPicker_->currentFont(), color_);
}

void FontDialog::SetChoice(const TFont& font) {
    fontPicker_->setCurrentFont(ToQFont(font));
    given_ = font;
    shown_ = FromQFont(fontPicker_->currentFont(), font.Color);
    SetColour(font.Color);
}

TFont FontDialog::Choice() const {
    const TFont picked = FromQFont(fontPicker_->currentFont(), color_);
    TFont choice = given_;
    choice.Color = color_;
    if (picked.Name != shown_.Name) choice.Name = picked.Name;
    if (picked.Size != shown_.Size) choice.Size = picked.Size;
    // Bold and italic are one choice in the chooser's list of styles.
    if (picked.Style.Bold != shown_.Style.Bold || picked.Style.Italic != shown_.Style.Italic) {
        choice.Style.Bold = picked.Style.Bold;
        choice.Style.Italic = picked.Style.Italic;
    }
    if (picked.Style.Underline != shown_.Style.Underline)
        choice.Style.Underline = picked.Style.Underline;
    if (picked.Style.StrikeOut != shown_.Style.StrikeOut)
        choice.Style.StrikeOut = picked.Style.StrikeOut;
    return choice;
}

void FontDialog::SetColour(TColor color) {
    color_ = color;
    QPalette palette = swatch_->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    swatch_->setPalette(palette);
}

void FontDialog::PickColour() {
    const QColor picked = QColorDialog::getColor(ToQColor(color_), this);
    if (picked.isValid()) SetColour(FromQColor(picked));
}
