// Text images rendered off screen: the same pixels as the placement window captures.
#pragma once

#include "PictureServices.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TextLabel;

// The picture that a text is placed on, loaded and reduced as the build does, with its colours.
struct TextBackground {
    TPicture Picture;
    std::vector<TPlatformColor> Colours; // none when there are more than 256
};
TextBackground LoadTextBackground(PictureLoader& loader, const std::string& path);

// The text image of `label` with its corner at (X, Y) on `background`: the label drawn, the
// drop shadow (DessineOmbre) when asked, then the capture (CaptureTextImage), which keeps the
// background's own colours, all on the part of the picture the image depends on
// (TextImageSource). The script loader's renderer and the placement window both make their
// images here, so a text placed by hand and the same text rendered again from a script file
// give the same pixels.
std::unique_ptr<TGifFile> RenderTextImage(const TextBackground& background, const TextLabel& label,
                                          const TDataTexte& texte);

class QtTextImageRenderer final : public TextImageRenderer {
public:
    // Pictures are loaded and reduced through `loader`, as the card build does.
    explicit QtTextImageRenderer(PictureLoader& loader) : loader_(loader) {}

    // RenderTextImage on the background at `picturePath`, with the label of `message`.
    std::unique_ptr<TGifFile> Render(const std::string& picturePath, const std::string& message,
                                     const TDataTexte& texte) override;

private:
    // The last background is kept while its file stays the same: the texts of a card mostly
    // share their background, which costs more to load and reduce than to draw on.
    const TextBackground& Background(const std::string& path);

    PictureLoader& loader_;
    std::string backgroundPath_;
    std::array<int64_t, 5> backgroundStamp_{}; // device, inode, size, modification time (s, ns)
    TextBackground background_;
};
