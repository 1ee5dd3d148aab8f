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
           " pixels in all its images)";
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
