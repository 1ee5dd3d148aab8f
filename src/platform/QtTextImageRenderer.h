// Text images rendered off screen: the same pixels as the placement window captures.
#pragma once

#include "PictureServices.h"

class TextLabel;

class QtTextImageRenderer final : public TextImageRenderer {
public:
    // Pictures are loaded and reduced through `loader`, as the card build does.
    explicit QtTextImageRenderer(PictureLoader& loader) : loader_(loader) {}

    // RenderTextImage on the TextBackground of `picturePath`, with the label of `message`.
    std::unique_ptr<TGifFile> Render(const std::string& picturePath, const std::string& message,
                                     const TDataTexte& texte) override;

private:
    PictureLoader& loader_;
};

// The picture that a text is placed on, loaded and reduced as the build does.
TPicture TextBackground(PictureLoader& loader, const std::string& path);

// The text image of `label` with its corner at (X, Y) on `background`: the label drawn, the
// drop shadow (DessineOmbre) when asked, then the capture (CaptureTextImage), which keeps the
// background's own colours. The script
// loader's renderer and the placement window both make their images here, so a text placed
// by hand and the same text rendered again from a script file give the same pixels.
std::unique_ptr<TGifFile> RenderTextImage(const TPicture& background, const TextLabel& label,
                                          const TDataTexte& texte);
