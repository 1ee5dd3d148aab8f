#include "QtTextImageRenderer.h"

#include "ColourCounts.h"
#include "DessineOmbre.h"
#include "PictureImage.h"
#include "TextCapture.h"
#include "TextLabel.h"

#include <sys/stat.h>

TextBackground LoadTextBackground(PictureLoader& loader, const std::string& path) {
    TextBackground background{loader.ReduceTo8Bits(loader.Load(path)), {}};
    background.Colours = DistinctColours(background.Picture.Pixels, 256)
                             .value_or(std::vector<TPlatformColor>{});
    return background;
}

std::unique_ptr<TGifFile> RenderTextImage(const TextBackground& background, const TextLabel& label,
                                          const TDataTexte& texte) {
    TPicture picture = TextImageSource(background.Picture, texte.X, texte.Y, label.Width(),
                                       label.Height());
    if (!picture.Pixels.empty()) {
        QImage image = ToQImage(picture);
        label.Draw(image, texte.X, texte.Y);
        picture = FromQImage(image);
    }
    if (texte.Shadow) DessineOmbre(picture, label.Color());
    return CaptureTextImage(picture, background.Colours, texte.X, texte.Y, label.Width(),
                            label.Height());
}

const TextBackground& QtTextImageRenderer::Background(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) info = {}; // the loading says why
    const std::array<int64_t, 5> stamp{int64_t(info.st_dev), int64_t(info.st_ino), int64_t(info.st_size),
                                       int64_t(info.st_mtim.tv_sec), int64_t(info.st_mtim.tv_nsec)};
    if (path != backgroundPath_ || stamp != backgroundStamp_ || info.st_ino == 0) {
        backgroundPath_.clear(); // nothing kept if the loading fails
        background_ = LoadTextBackground(loader_, path);
        backgroundPath_ = path;
        backgroundStamp_ = stamp;
    }
    return background_;
}

std::unique_ptr<TGifFile> QtTextImageRenderer::Render(const std::string& picturePath,
                                                      const std::string& message,
                                                      const TDataTexte& texte) {
    return RenderTextImage(Background(picturePath),
                           TextLabel(message, texte.Font, texte.Alignment), texte);
}
