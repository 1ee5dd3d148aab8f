// A stand-in for the toolkit's text image renderer: it records what it was asked to render
// and answers with a one-pixel image, or fails as a broken picture would.
#pragma once

#include "PictureServices.h"

#include <string>
#include <vector>

struct RenderRequest {
    std::string Picture;
    std::string Message;
    TDataTexte Texte;
};

class FakeTextRenderer final : public TextImageRenderer {
public:
    std::vector<RenderRequest> Requests;
    std::string FailWith; // when set, every render throws EInvalidGraphic with this text
    uint16_t Side = 1;    // the size the image declares, square; it holds one pixel

    std::unique_ptr<TGifFile> Render(const std::string& picturePath, const std::string& message,
                                     const TDataTexte& texte) override {
        Requests.push_back({picturePath, message, texte});
        if (!FailWith.empty()) throw EInvalidGraphic(FailWith);
        auto image = std::make_unique<TGifFile>();
        TColorTable colors;
        InitColorTable(colors, 2);
        image->AddImage(colors, TByteArray2D(1, 1));
        image->Images[0]->Width = image->Images[0]->Height = Side;
        return image;
    }
};
