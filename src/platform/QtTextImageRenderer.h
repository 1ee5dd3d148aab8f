// Text images rendered off screen: the same pixels as the placement window captures.
#pragma once

#include "PictureServices.h"

class QtTextImageRenderer final : public TextImageRenderer {
public:
    // Pictures are loaded and reduced through `loader`, as the card build does.
    explicit QtTextImageRenderer(PictureLoader& loader) : loader_(loader) {}

    // The reduced picture, the label (TextLabel) drawn on it at (X, Y), the drop shadow
    // (DessineOmbre) when asked, then the capture (CaptureTextImage).
    std::unique_ptr<TGifFile> Render(const std::string& picturePath, const std::string& message,
                                     const TDataTexte& texte) override;

private:
    PictureLoader& loader_;
};
