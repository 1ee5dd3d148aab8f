// Pictures read with Qt's image reader or, for GIF files, with our codec.
#pragma once

#include "PictureServices.h"

class QtPictureLoader final : public PictureLoader {
public:
    // The reader's format is chosen by the file name's extension, as the desktop's loader
    // chose it: a BMP renamed ".png" is refused, and so is a name without an extension
    // ("Unknown picture file extension (.)").
    TPicture Load(const std::string& path) override;
    // A palette chosen for the picture, with error diffusion (Reduce256.h).
    TPicture ReduceTo8Bits(const TPicture& picture) override;
};
