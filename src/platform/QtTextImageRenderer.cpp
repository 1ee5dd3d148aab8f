#include "QtTextImageRenderer.h"

#include "ColourCounts.h"
#include "DessineOmbre.h"
#include "PictureImage.h"
#include "TextCapture.h"
#include "TextLabel.h"

std::unique_ptr<TGifFile> QtTextImageRenderer::Render(const std::string& picturePath,
                                                      const std::string& message,
                                                      const TDataTexte& texte) {
    return RenderTextImage(TextBackground(loader_, picturePath),
                           TextLabel(message, texte.Font, texte.Alignment), texte);
}

TPicture TextBackground(PictureLoader& loader, const std::string& path) {
    return loader.ReduceTo8Bits(loader.Load(path));
}

std::unique_ptr<TGifFile> RenderTextImage(const TPicture& background, const TextLabel& label,
                                          const TDataTexte& texte) {
    const std::vector<TPlatformColor> colours =
        DistinctColours(background.Pixels, 256).value_or(std::vector<TPlatformColor>{});
    TPicture picture;
    if (background.Pixels.empty()) {
        picture = background;
    } else {
        QImage image = ToQImage(background);
        label.Draw(image, texte.X, texte.Y);
        picture = FromQImage(image);
    }
    if (texte.Shadow) DessineOmbre(picture, label.Color());
    return CaptureTextImage(picture, colours, texte.X, texte.Y, label.Width(), label.Height());
}
