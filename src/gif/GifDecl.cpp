#include "GifDecl.h"

TGifHooks GifHooks;

std::string ColorCountMessage(int count) {
    return "Number of colors (" + std::to_string(count) + ") wrong; must be a power of 2";
}

std::string ImageTooLargeMessage() {
    return "Image too large to decode (more than " + std::to_string(kMaxImagePixels) + " pixels)";
}

std::string FileTooLargeMessage() {
    return "GIF file too large to decode (more than " + std::to_string(kMaxFilePixels) +
           " pixels in all its images, each counting as at least " + std::to_string(kMinImageCost) +
           ")";
}

void TByteBuffer::AddBlock(const uint8_t* data, size_t size) {
    if (size == 0) return; // a zero length ends a block list; it is never a block
    bytes_.insert(bytes_.end(), data, data + size);
    blockEnds_.push_back(uint32_t(bytes_.size()));
}

void TByteBuffer::AssignPacked(TByteVector&& bytes) {
    bytes_ = std::move(bytes);
    blockEnds_.clear();
    blockEnds_.reserve(bytes_.size() / gif::kMaxSubBlock + 1);
    for (size_t end = gif::kMaxSubBlock; end < bytes_.size(); end += gif::kMaxSubBlock)
        blockEnds_.push_back(uint32_t(end));
    if (!bytes_.empty()) blockEnds_.push_back(uint32_t(bytes_.size()));
}

void TByteBuffer::ShrinkToFit() {
    if (bytes_.capacity() - bytes_.size() > bytes_.size() / 4 + 4096) bytes_.shrink_to_fit();
}

void TByteBuffer::Clear() {
    bytes_.clear();
    blockEnds_.clear();
}

std::span<const uint8_t> TByteBuffer::GetBlock(int index) const {
    if (index < 1 || index > BlockCount()) throw EListError();
    const size_t start = index == 1 ? 0 : blockEnds_[size_t(index) - 2];
    return std::span<const uint8_t>(bytes_).subspan(start, blockEnds_[size_t(index) - 1] - start);
}

void TExtensionList::Begin(uint8_t kind) {
    ++count_;
    bytes_.push_back(kind);
}

void TExtensionList::AddSubBlock(const uint8_t* data, uint8_t size) {
    bytes_.push_back(size);
    AddBytes(data, size);
}

namespace {
// Past the extension whose kind byte is at `p`: its fixed bytes, its sub-blocks, their 0.
const uint8_t* SkipExtension(const uint8_t* p) {
    p += 1 + gif::kExtensionHeaderSize[*p];
    while (*p != 0)
        p += 1 + *p;
    return p + 1;
}
} // namespace

TExtension TExtensionList::operator[](size_t index) const {
    if (index >= count_) throw std::out_of_range("No extension " + std::to_string(index));
    const uint8_t* p = bytes_.data();
    for (; index > 0; --index)
        p = SkipExtension(p);
    TExtension extension;
    extension.Kind = *p;
    const uint8_t* blocks = p + 1 + gif::kExtensionHeaderSize[extension.Kind];
    extension.Header.assign(p + 1, blocks);
    for (p = blocks; *p != 0; p += 1 + *p)
        extension.SubBlocks.AddBlock(p + 1, *p);
    return extension;
}
