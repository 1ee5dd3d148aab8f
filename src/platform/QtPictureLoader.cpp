#include "QtPictureLoader.h"

#include "BmpLayout.h"
#include "PictureImage.h"
#include "PlatformTexts.h"
#include "Reduce256.h"
#include "Rgb.h"

#include <QByteArrayView>
#include <QImage>
#include <QImageReader>

#include <array>
#include <cstddef>
#include <filesystem>

namespace {
bool IsGifPath(const std::string& path) {
    return !path.empty() && (path.back() == 'f' || path.back() == 'F');
}

TPicture LoadGif(const std::string& path) {
    TGifFile gif;
    gif.LoadFromFile(path);
    const TIndexedBitmap bitmap = gif.ToBitmap();
    std::array<TPlatformColor, 256> colors;
    for (size_t i = 0; i < colors.size(); ++i)
        colors[i] =
            PlatformColor(bitmap.Palette[i].Red, bitmap.Palette[i].Green, bitmap.Palette[i].Blue);
    TPicture picture;
    picture.Width = bitmap.Width;
    picture.Height = bitmap.Height;
    picture.Pixels.reserve(bitmap.Indices.size());
    for (uint8_t index : bitmap.Indices)
        picture.Pixels.push_back(colors[index]);
    return picture;
}

TPicture LoadWithQt(const std::string& path) {
    const std::string extension = std::filesystem::path(path).extension().string();
    const std::string name = extension.empty() ? extension : extension.substr(1);
    const QByteArray format = QByteArray::fromStdString(name).toLower();
    if (format.isEmpty() || !QImageReader::supportedImageFormats().contains(format))
        throw EInvalidGraphic(platformtext::kUnknownExtensionBefore + name +
                              platformtext::kUnknownExtensionAfter);
    // Read through our own file layer so that a missing or locked file says so in the
    // program's words; Qt's reader only knows that it could not read.
    const std::vector<uint8_t> bytes = fileio::ReadFileBytes(path);
    // Qt's reader paints pixels it does not find black.
    if (format == "bmp" && BmpPixelsOutsideFile(bytes))
        throw EInvalidGraphic(platformtext::kInvalidBitmap);
    QImage image;
    if (!image.loadFromData(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                            format.constData()))
        throw EInvalidGraphic(platformtext::kInvalidBitmap);
    return FromQImage(image);
}
} // namespace

TPicture QtPictureLoader::Load(const std::string& path) {
    return IsGifPath(path) ? LoadGif(path) : LoadWithQt(path);
}

TPicture QtPictureLoader::ReduceTo8Bits(const TPicture& picture) {
    return {picture.Width, picture.Height,
            ReduceTo256Colours(picture.Pixels, picture.Width, picture.Height)};
}
