// The in-memory GIF file: its images, the writer and the reader.
// Including this header brings the whole codec.
#pragma once

#include "ColorTbl.h"
#include "DynArrB.h"
#include "FileIO.h"
#include "GifDecl.h"
#include "GifLzw.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TGifFile;

class TGifSubImage {
public:
    // An empty image for a colour table of `colorCount` entries (1 is taken as 2); any count
    // that is not a power of two up to 256 raises EGifException.
    TGifSubImage(uint16_t colorCount, TGifFile* owner);

    TGifFile* Owner;
    uint8_t CodeSize = 0;
    TByteBuffer Data; // compressed image data
    uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint8_t ImageFlags = 0;
    bool Interlaced = false;
    bool HasLocalColors = false;
    TExtensionList Extensions;          // the extension blocks that preceded it in a file read
    uint8_t BitsPerPixel = 1;           // size exponent of the local colour table
    TByteArray2D Pixels;                // colour indices, Width by Height
    TColorTable LocalColors;

    void Encode(); // Pixels -> Data
    void Decode(); // Data -> Pixels

    void PackImageFlags();
};

// An 8-bit paletted picture: Height rows of Width palette indices, top row first.
struct TIndexedBitmap {
    int32_t Width = 0;
    int32_t Height = 0;
    std::array<TColorRGB, 256> Palette{};
    std::vector<uint8_t> Indices;
};

class TGifFile {
public:
    TGifFile(); // an empty "GIF87a" model with the black and white global table

    char Signature[3];
    char Version[3];
    uint16_t ScreenWidth = 0;
    uint16_t ScreenHeight = 0;
    uint8_t ScreenFlags = 0;
    uint8_t BackgroundIndex = 0;
    uint8_t AspectRatio = 0;
    bool HasGlobalColors = true;
    TColorTable GlobalColors;
    uint8_t BitsPerPixel = 1; // size exponent of the global colour table
    std::vector<std::unique_ptr<TGifSubImage>> Images;

    // Appends one image of these indices with this colour map. The first image's map becomes
    // the global table, later ones carry their own.
    void AddImage(const TColorTable& colorMap, const TByteArray2D& pixels);

    // The whole model as GIF bytes; every image is compressed again from its pixels.
    std::vector<uint8_t> SaveToMemory();
    // Creates or replaces the file once it is complete: when the model cannot be encoded or
    // a write fails (disk full), whatever stood at the name stays as it was.
    void SaveToFile(const std::string& fileName);

    // Reads a GIF87a/GIF89a file into this model, which should be fresh.
    void LoadFromFile(const std::string& fileName);
    void LoadFromMemory(std::span<const uint8_t> bytes);

    // The first image with its colour table (local if it has one, else global: all 256 slots).
    TIndexedBitmap ToBitmap() const;

    void PackScreenFlags();

private:
    size_t Encode(); // compresses every image; the file's size in bytes
    void Write(TByteSink& out) const;
    void Load(TByteSource& source);
};
