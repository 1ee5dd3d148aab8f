#include "QtTextImageRenderer.h"

#include "ColourCounts.h"
#include "DessineOmbre.h"
#include "PictureImage.h"
#include "TextCapture.h"
#include "TextLabel.h"

std::unique_ptr<TGifFile> QtTextImageRenderer::Render(const std::string& picturePath,
                                                      const std::string& message,
                                                      const TDataTexte& texte) {
    TPicture picture = loader_.ReduceTo8Bits(loader_.Load(picturePath));
    const std::vector<TPlatformColor> colours =
        DistinctColours(picture.Pixels, 256).value_or(std::vector<TPlatformColor>{});
    const TextLabel label(message, texte.Font, texte.Alignment);
    if (!picture.Pixels.empty()) {
        QImage image = ToQImage(picture);
        label.Draw(image, texte.X, texte.Y);
        picture = FromQImage(image);
    }
    if (texte.Shadow) DessineOmbre(picture, label.Color());
    return CaptureTextImage(picture, colours, texte.X, texte.Y, label.Width(), label.Height());
}
