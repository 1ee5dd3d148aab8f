// Text images rendered off screen: the same pixels as the placement window captures.
#pragma once

#include "PictureServices.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QtTextImageRenderer final : public TextImageRenderer {
public:
    // Pictures are loaded and reduced through `loader`, as the card build does.
    explicit QtTextImageRenderer(PictureLoader& loader) : loader_(loader) {}

    // The reduced picture, the label (TextLabel) drawn on it at (X, Y), the drop shadow
    // (DessineOmbre) when asked, then the capture (CaptureTextImage), all on the part of the
    // picture the image depends on (TextImageSource).
    std::unique_ptr<TGifFile> Render(const std::string& picturePath, const std::string& message,
                                     const TDataTexte& texte) override;

private:
    // The picture reduced, with its colours. The last one is kept while its file stays the
    // same: the texts of a card mostly share their background, which costs more to load and
    // reduce than to draw on.
    const TPicture& Background(const std::string& path);

    PictureLoader& loader_;
    std::string backgroundPath_;
    std::array<int64_t, 5> backgroundStamp_{}; // device, inode, size, modification time (s, ns)
    TPicture background_;
    std::vector<TPlatformColor> backgroundColours_;
};
