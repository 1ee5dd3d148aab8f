#include "GifUnit.h"

#include "AtomicFile.h"

#include <algorithm>
#include <cstring>

namespace {

// Exponent of a colour count that is a power of two from 2 to 256, else 0.
int PowerOfTwoExponent(int count) {
    for (int bits = 1; bits <= 8; ++bits)
        if (count == (1 << bits)) return bits;
    return 0;
}

// Resolution bits of the screen descriptor, from the global colour count.
int ColorResolution(int count) {
    switch (count) {
    case 1:
    case 2:
        return 1;
    case 16:
        return 4;
    case 256:
        return 8;
    default:
        throw EGifException(kMsgUnexpectedColorCount);
    }
}

// ---------------------------------------------------------------------------------------
// Writer: one function per block of the file.

class ByteWriter {
public:
    explicit ByteWriter(TByteSink& out) : out_(out) {}
    void U8(uint8_t v) { out_.Write(&v, 1); }
    void U16(uint16_t v) {
        const uint8_t le[2] = {uint8_t(v), uint8_t(v >> 8)};
        out_.Write(le, 2);
    }
    void Bytes(const void* data, size_t size) { out_.Write(static_cast<const uint8_t*>(data), size); }

private:
    TByteSink& out_;
};

// Colour table: 2^bits entries of 3 bytes (red, green, blue), from the table's slots.
void WriteColorTable(ByteWriter& w, const TColorTable& table, int bits) {
    for (int i = 0; i < (1 << bits); ++i) {
        w.U8(table.Colors[i].Red);
        w.U8(table.Colors[i].Green);
        w.U8(table.Colors[i].Blue);
    }
}

// Logical screen descriptor, 7 bytes:
//   +0 width (LE16)  +2 height (LE16)  +4 flags  +5 background index  +6 aspect ratio
void WriteScreenDescriptor(ByteWriter& w, const TGifFile& file) {
    w.U16(file.ScreenWidth);
    w.U16(file.ScreenHeight);
    w.U8(file.ScreenFlags);
    w.U8(file.BackgroundIndex);
    w.U8(file.AspectRatio);
}

// Image descriptor, 10 bytes with its separator:
//   +0 0x2C  +1 left  +3 top  +5 width  +7 height (LE16 each)  +9 flags
void WriteImageDescriptor(ByteWriter& w, const TGifSubImage& image) {
    w.U8(gif::kImageSeparator);
    w.U16(image.Left);
    w.U16(image.Top);
    w.U16(image.Width);
    w.U16(image.Height);
    w.U8(image.ImageFlags);
}

// Image data: minimum code size, then sub-blocks (length 1-255, bytes), then a 0 length.
void WriteImageData(ByteWriter& w, const TGifSubImage& image) {
    w.U8(image.CodeSize);
    for (int i = 1; i <= image.Data.BlockCount(); ++i) {
        const auto block = image.Data.GetBlock(i);
        w.U8(uint8_t(block.size()));
        w.Bytes(block.data(), block.size());
    }
    w.U8(0);
}

// ---------------------------------------------------------------------------------------
// Reader: one function per block, each reading exactly its bytes.

uint16_t LE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

// Reads `count` entries of 3 bytes into the first slots; the other slots keep their colours.
void ReadColorTable(TByteSource& in, TColorTable& table, int count) {
    uint8_t rgb[256 * 3];
    in.Read(rgb, size_t(count) * 3);
    for (int i = 0; i < count; ++i) table.Colors[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
}

// Sub-blocks: a length byte and that many bytes, until a length of 0; each goes to `keep`.
template <class Keep> void ReadSubBlocks(TByteSource& in, Keep keep) {
    uint8_t block[gif::kMaxSubBlock];
    for (uint8_t size = in.ReadByte(); size != 0; size = in.ReadByte()) {
        in.Read(block, size);
        keep(block, size);
    }
}

// Extension block after its 0x21 introducer:
//   +0 label, then by kind: graphic control 6 bytes; plain text 13 bytes and sub-blocks;
//   application 12 bytes and sub-blocks; comment sub-blocks only.
// A label of no kind we know is an extension of a later kind: its sub-blocks are read past.
void ReadExtension(TByteSource& in, TExtensionList& into) {
    uint8_t kind = 0;
    switch (in.ReadByte()) {
    case gif::kLabelGraphicControl:
        kind = TExtension::GraphicControl;
        break;
    case gif::kLabelPlainText:
        kind = TExtension::PlainText;
        break;
    case gif::kLabelApplication:
        kind = TExtension::Application;
        break;
    case gif::kLabelComment:
        kind = TExtension::Comment;
        break;
    default:
        ReadSubBlocks(in, [](const uint8_t*, uint8_t) {});
        return;
    }
    uint8_t header[16];
    in.Read(header, gif::kExtensionHeaderSize[kind]);
    into.Begin(kind);
    into.AddBytes(header, gif::kExtensionHeaderSize[kind]);
    if (kind != TExtension::GraphicControl)
        ReadSubBlocks(in, [&](const uint8_t* data, uint8_t size) { into.AddSubBlock(data, size); });
    into.End();
}

// Image after its 0x2C separator:
//   +0 left  +2 top  +4 width  +6 height (LE16 each)  +8 flags  [local colour table]
//   then the minimum code size and the data sub-blocks.
void ReadImage(TByteSource& in, TGifSubImage& image, int64_t& filePixels) {
    uint8_t d[9];
    in.Read(d, sizeof d);
    image.Left = LE16(d);
    image.Top = LE16(d + 2);
    image.Width = LE16(d + 4);
    image.Height = LE16(d + 6);
    image.ImageFlags = d[8];
    image.HasLocalColors = (image.ImageFlags & gif::kColorTableFlag) != 0;
    image.Interlaced = (image.ImageFlags & gif::kInterlacedFlag) != 0;
    image.BitsPerPixel = uint8_t((image.ImageFlags & gif::kTableSizeMask) + 1);
    image.LocalColors.Count = 1 << image.BitsPerPixel;
    if (image.HasLocalColors) ReadColorTable(in, image.LocalColors, image.LocalColors.Count);

    const int64_t pixels = int64_t(image.Width) * image.Height;
    if (pixels > kMaxImagePixels) throw EGifException(ImageTooLargeMessage());
    filePixels += std::max(pixels, kMinImageCost);
    if (filePixels > kMaxFilePixels) throw EGifException(FileTooLargeMessage());
    image.Pixels = TByteArray2D(image.Width, image.Height);

    image.CodeSize = in.ReadByte();
    // Codes of up to 12 bits, at least one pixel each: room for the data of the whole image,
    // unless the file is shorter.
    image.Data.Reserve(size_t(std::min<int64_t>(int64_t(in.Remaining()), pixels + pixels / 2)));
    ReadSubBlocks(in, [&](const uint8_t* data, uint8_t size) { image.Data.AddBlock(data, size); });
    image.Data.ShrinkToFit();
    image.Decode();
}

} // namespace

// ---------------------------------------------------------------------------------------

TGifSubImage::TGifSubImage(uint16_t colorCount, TGifFile* owner) : Owner(owner) {
    const int count = colorCount == 1 ? 2 : colorCount;
    const int bits = PowerOfTwoExponent(count);
    if (bits == 0) throw EGifException(ColorCountMessage(count));
    BitsPerPixel = uint8_t(bits);
    CodeSize = uint8_t(std::max(bits, 2));
    InitColorTable(LocalColors, uint16_t(count));
    PackImageFlags();
}

void TGifSubImage::PackImageFlags() {
    ImageFlags = 0;
    if (HasLocalColors) ImageFlags |= gif::kColorTableFlag | uint8_t(BitsPerPixel - 1);
    if (Interlaced) ImageFlags |= gif::kInterlacedFlag;
}

void TGifSubImage::Encode() {
    const std::span<const uint8_t> indices(Pixels.Bytes.Data, size_t(Pixels.Bytes.Count));
    if (!Interlaced) {
        LzwEncode(indices, CodeSize, Data);
        return;
    }
    const TBigByteArray stream = FlattenPixels(Pixels, true);
    LzwEncode(std::span<const uint8_t>(stream.Data, size_t(stream.Count)), CodeSize, Data);
}

void TGifSubImage::Decode() {
    CheckCodeSize(CodeSize);
    if (Data.BlockCount() == 0) throw EListError(); // there is no first block to read
    LzwDecode(Data.Bytes(), CodeSize, Interlaced, Pixels);
}

TGifFile::TGifFile() {
    std::memcpy(Signature, "GIF", 3);
    std::memcpy(Version, "87a", 3);
    InitColorTable(GlobalColors, 2);
}

void TGifFile::PackScreenFlags() {
    const int resolution = ColorResolution(GlobalColors.Count);
    ScreenFlags = uint8_t((HasGlobalColors ? gif::kColorTableFlag : 0) |
                          ((resolution - 1) << gif::kResolutionShift) | (BitsPerPixel - 1));
}

void TGifFile::AddImage(const TColorTable& colorMap, const TByteArray2D& pixels) {
    // A count beyond the table's 256 slots would make the writer read past them.
    if (colorMap.Count < 0 || colorMap.Count > 256)
        throw EGifException(ColorCountMessage(colorMap.Count));
    if (pixels.XSize > 0xFFFF || pixels.YSize > 0xFFFF) throw EGifException(kMsgImageTooWide);
    auto image = std::make_unique<TGifSubImage>(uint16_t(colorMap.Count), this);
    image->Pixels = pixels.Copy();
    image->Width = uint16_t(pixels.XSize);
    image->Height = uint16_t(pixels.YSize);

    if (Images.empty()) {
        GlobalColors = colorMap;
    } else {
        image->HasLocalColors = true;
        image->LocalColors = colorMap;
    }
    while ((1 << BitsPerPixel) < GlobalColors.Count) ++BitsPerPixel;
    image->PackImageFlags();
    Images.push_back(std::move(image));
    ScreenWidth = std::max(ScreenWidth, Images.back()->Width);
    ScreenHeight = std::max(ScreenHeight, Images.back()->Height);
    PackScreenFlags();
}

size_t TGifFile::Encode() {
    // Everything that can fail comes first, in file order: the screen flags, then each
    // image's compression. Nothing is written before the whole model is encoded.
    PackScreenFlags();
    size_t size = 6 + 7 + (HasGlobalColors ? 3u << BitsPerPixel : 0) + 1;
    for (const auto& image : Images) {
        image->Encode();
        image->PackImageFlags();
        size += 10 + (image->HasLocalColors ? 3u << image->BitsPerPixel : 0) + 1 +
                image->Data.Bytes().size() + size_t(image->Data.BlockCount()) + 1;
    }
    return size;
}

void TGifFile::Write(TByteSink& out) const {
    ByteWriter w(out);
    w.Bytes(Signature, 3);
    w.Bytes(Version, 3);
    WriteScreenDescriptor(w, *this);
    if (HasGlobalColors) WriteColorTable(w, GlobalColors, BitsPerPixel);
    for (const auto& image : Images) {
        WriteImageDescriptor(w, *image);
        if (image->HasLocalColors) WriteColorTable(w, image->LocalColors, image->BitsPerPixel);
        WriteImageData(w, *image);
    }
    w.U8(gif::kTrailer);
}

std::vector<uint8_t> TGifFile::SaveToMemory() {
    TBusyCursor busy;
    std::vector<uint8_t> bytes;
    bytes.reserve(Encode());
    TMemorySink sink(bytes);
    Write(sink);
    return bytes;
}

void TGifFile::SaveToFile(const std::string& fileName) {
    WriteFileAtomically(fileName, SaveToMemory());
}

void TGifFile::Load(TByteSource& in) {
    TBusyCursor busy;
    Images.clear();

    // Header, 6 bytes: signature (not examined) and version.
    uint8_t header[6];
    in.Read(header, sizeof header);
    std::memcpy(Signature, header, 3);
    std::memcpy(Version, header + 3, 3);
    static constexpr const char* kVersions[] = {"87a", "89a", "87A", "89A"};
    if (std::none_of(std::begin(kVersions), std::end(kVersions),
                     [&](const char* v) { return std::memcmp(Version, v, 3) == 0; }))
        throw EGifException(kMsgBadVersion);

    uint8_t screen[7];
    in.Read(screen, sizeof screen);
    ScreenWidth = LE16(screen);
    ScreenHeight = LE16(screen + 2);
    ScreenFlags = screen[4];
    BackgroundIndex = screen[5];
    AspectRatio = screen[6];
    HasGlobalColors = (ScreenFlags & gif::kColorTableFlag) != 0;
    BitsPerPixel = uint8_t((ScreenFlags & gif::kTableSizeMask) + 1);
    GlobalColors.Count = 1 << BitsPerPixel;
    if (HasGlobalColors) ReadColorTable(in, GlobalColors, GlobalColors.Count);

    int64_t filePixels = 0;
    uint8_t introducer = in.ReadByte();
    while (introducer != gif::kTrailer) {
        TExtensionList extensions;
        while (introducer == gif::kExtensionIntroducer) {
            ReadExtension(in, extensions);
            introducer = in.ReadByte();
        }
        if (introducer == gif::kImageSeparator) {
            auto image = std::make_unique<TGifSubImage>(uint16_t(GlobalColors.Count), this);
            image->Extensions = std::move(extensions);
            ReadImage(in, *image, filePixels);
            Images.push_back(std::move(image));
            introducer = in.ReadByte();
        } else if (introducer != gif::kTrailer) {
            // Anything else where a block should start is taken as the end of the picture:
            // the images before it are complete, and trailing junk must not lose them.
            break;
        }
    }
}

void TGifFile::LoadFromFile(const std::string& fileName) {
    TFileSource in(fileName);
    Load(in);
}

void TGifFile::LoadFromMemory(std::span<const uint8_t> bytes) {
    TMemorySource in(bytes);
    Load(in);
}

TIndexedBitmap TGifFile::ToBitmap() const {
    if (Images.empty()) throw EListError();
    const TGifSubImage& image = *Images.front();
    const TColorTable& colors = image.HasLocalColors ? image.LocalColors : GlobalColors;
    TIndexedBitmap bitmap;
    bitmap.Width = image.Pixels.XSize;
    bitmap.Height = image.Pixels.YSize;
    std::copy(std::begin(colors.Colors), std::end(colors.Colors), bitmap.Palette.begin());
    bitmap.Indices.assign(image.Pixels.Bytes.Data, image.Pixels.Bytes.Data + image.Pixels.Bytes.Count);
    return bitmap;
}
