// Declarations shared by the GIF reader and writer: the codec's exceptions and their texts,
// the format's block markers and flag masks, the sub-block store and extension blocks,
// and the hooks through which the application shows its busy cursor and stays responsive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Every format error of the codec.
class EGifException : public std::runtime_error {
public:
    explicit EGifException(const std::string& message) : std::runtime_error(message) {}
};

// An index beyond the end of a list (a block store, an image list).
class EListError : public std::runtime_error {
public:
    EListError() : std::runtime_error("List index out of bounds") {}
};

// The codec's messages, word for word.
inline constexpr const char* kMsgBadVersion = "Gif Version must be 87a or 89a";
inline constexpr const char* kMsgBadCodeSize = "Bad code Size";
inline constexpr const char* kMsgBadCode = "Bad code";
inline constexpr const char* kMsgUnexpectedColorCount = "unexpected number of colors";
inline constexpr const char* kMsgTooManyColors = "Bitmap has more than 256 colors";
inline constexpr const char* kMsgImageTooWide =
    "Image too large for a GIF (at most 65535 by 65535 pixels)";
inline constexpr const char* kMsgPixelOutOfTable = "Pixel value too large for the image's code size";
std::string ColorCountMessage(int count); // "Number of colors (n) wrong; must be a power of 2"

// Decoding limits against files that declare far more pixels than they carry: one image may
// hold at most 64 Mi pixels (8192 x 8192), all images of one file together 128 Mi pixels.
// An image counts as at least 1 Ki pixels, about what the model keeps for one beside its
// pixels, so that a file of empty images is bounded too.
inline constexpr int64_t kMaxImagePixels = int64_t(1) << 26;
inline constexpr int64_t kMaxFilePixels = int64_t(1) << 27;
inline constexpr int64_t kMinImageCost = 1024;
std::string ImageTooLargeMessage();
std::string FileTooLargeMessage();

namespace gif {
// Block introducers.
inline constexpr uint8_t kExtensionIntroducer = 0x21; // '!'
inline constexpr uint8_t kImageSeparator = 0x2C;      // ','
inline constexpr uint8_t kTrailer = 0x3B;             // ';'
// Extension labels.
inline constexpr uint8_t kLabelGraphicControl = 0xF9;
inline constexpr uint8_t kLabelPlainText = 0x01;
inline constexpr uint8_t kLabelApplication = 0xFF;
inline constexpr uint8_t kLabelComment = 0xFE;
// The fixed bytes after the label, by TExtension kind; a graphic control has no sub-blocks.
inline constexpr uint8_t kExtensionHeaderSize[4] = {6, 13, 12, 0};
// Packed fields of the screen and image descriptors.
inline constexpr uint8_t kColorTableFlag = 0x80;
inline constexpr uint8_t kInterlacedFlag = 0x40;
inline constexpr uint8_t kTableSizeMask = 0x07;
inline constexpr int kResolutionShift = 4;
// LZW.
inline constexpr int kMaxCodeWidth = 12;
inline constexpr int kTableSize = 1 << kMaxCodeWidth;
inline constexpr int kMaxSubBlock = 255;
} // namespace gif

// An allocator that leaves new bytes uninitialised, for buffers about to be overwritten.
template <class T>
struct TUninitializedAllocator : std::allocator<T> {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = TUninitializedAllocator<U>;
    };
    TUninitializedAllocator() = default;
    template <class U>
    TUninitializedAllocator(const TUninitializedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using TByteVector = std::vector<uint8_t, TUninitializedAllocator<uint8_t>>;

// Bytes held as blocks of 1 to 255 bytes: the data sub-blocks of a GIF image or extension.
// Stored as one run of bytes plus each block's end, so the decoder reads the stream straight.
class TByteBuffer {
public:
    void AddBlock(const uint8_t* data, size_t size); // one block as read from a file (1 to 255 bytes)
    // Takes a whole packed byte run and cuts it into blocks of 255 bytes, the last one shorter.
    void AssignPacked(TByteVector&& bytes);
    void Clear();
    void Reserve(size_t bytes) { bytes_.reserve(bytes); }
    void ShrinkToFit(); // gives back a reservation much larger than what was stored

    int BlockCount() const { return int(blockEnds_.size()); }
    std::span<const uint8_t> GetBlock(int index) const; // 1-based; EListError beyond the last
    std::span<const uint8_t> Bytes() const { return bytes_; } // every block's bytes in order

private:
    TByteVector bytes_;
    std::vector<uint32_t> blockEnds_;
};

// An extension block kept with the image that follows it in a file read.
struct TExtension {
    enum Kinds : uint8_t { GraphicControl = 0, PlainText = 1, Application = 2, Comment = 3 };
    uint8_t Kind = GraphicControl;
    std::vector<uint8_t> Header; // the fixed bytes after the label: 6, 13, 12 or none
    TByteBuffer SubBlocks;       // the data sub-blocks, one block each, without length bytes
};

// The extensions that stood before one image, held as their bytes were in the file (kind,
// fixed bytes, then each sub-block with its length byte, then the 0 that ends them) in one
// run: a file of millions of tiny blocks then costs no more than its own bytes, not an object
// each. Nothing reads them in bulk, so finding one walks the run.
class TExtensionList {
public:
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // A copy, taken apart; std::out_of_range past the end.
    TExtension operator[](size_t index) const;

    // Adding one: Begin, then its fixed bytes and sub-blocks in order, then End.
    void Begin(uint8_t kind);
    void AddBytes(const uint8_t* data, size_t size) {
        bytes_.insert(bytes_.end(), data, data + size);
    }
    void AddSubBlock(const uint8_t* data, uint8_t size);
    void End() { bytes_.push_back(0); }

private:
    std::vector<uint8_t> bytes_;
    size_t count_ = 0;
};

// Hooks the application may install; unset, they cost one test each.
struct TGifHooks {
    void (*ShowBusyCursor)() = nullptr;
    void (*RestoreCursor)() = nullptr;
    void (*ProcessMessages)() = nullptr; // after each decoded row
};
extern TGifHooks GifHooks;

// Shows the busy cursor for the lifetime of the object.
class TBusyCursor {
public:
    TBusyCursor() {
        if (GifHooks.ShowBusyCursor) GifHooks.ShowBusyCursor();
    }
    ~TBusyCursor() {
        if (GifHooks.RestoreCursor) GifHooks.RestoreCursor();
    }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};
