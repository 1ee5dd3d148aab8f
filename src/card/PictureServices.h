// What the card build and the script loader need from the toolkit's drawing: loading a
// picture, reducing it to at most 256 colours, and rendering a text event's image. The
// toolkit layer implements these; tests and tools may put their own in place.
#pragma once

#include "ColorTbl.h"
#include "GifUnit.h"
#include "TDataTexte.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A picture in memory: Height rows of Width platform colour values (red in the low byte,
// then green, then blue; the top byte is 0), the top row first.
struct TPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<TPlatformColor> Pixels;

    TBitmapPixels View() const { return {Width, Height, Pixels.data(), Width}; }
};

// Pictures are told apart by the last character of their path alone: "f" or "F" is a GIF
// (".gif", ".GIF", but also any other name so ending), everything else goes to the toolkit.
inline bool IsGifPath(std::string_view path) {
    return !path.empty() && (path.back() == 'f' || path.back() == 'F');
}

// A picture file the toolkit's reader does not know: "Unknown picture file extension (.xxx)".
class EInvalidGraphic : public std::runtime_error {
public:
    explicit EInvalidGraphic(const std::string& message) : std::runtime_error(message) {}
};

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // A path whose last character is "f" or "F" is read as a GIF (its first image); any other
    // goes to the toolkit's reader. Failures throw: EInOutError for a file that cannot be
    // read, EGifException for a broken GIF, EInvalidGraphic for a format the reader does not
    // know or a file it cannot decode.
    virtual TPicture Load(const std::string& path) = 0;
    // The picture reduced to at most 256 colours, the same way each time; a picture of 256
    // colours or fewer comes back unchanged.
    virtual TPicture ReduceTo8Bits(const TPicture& picture) = 0;
};

class TextImageRenderer {
public:
    virtual ~TextImageRenderer() = default;
    // The image of a Text event: the background at `picturePath` (loaded and reduced as the
    // build does), `message` (lines each ended by CR) drawn over it at (X, Y) with the
    // event's font and alignment, the drop shadow when asked, then the capture rectangle
    // (the text box plus 2 pixels on the right, clipped to the picture) reduced and indexed
    // into a one-image GIF model.
    virtual std::unique_ptr<TGifFile> Render(const std::string& picturePath, const std::string& message,
                                             const TDataTexte& texte) = 0;
};
