// A card file opened for reading each part where it lies, so that the player's memory follows
// what it reads rather than the size of the file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

class TCardFile {
public:
    // Opens the file for reading; EInOutError when it cannot be.
    explicit TCardFile(const std::string& path);
    // The file open at `fd`, which stays the caller's to close.
    static TCardFile OfDescriptor(int fd);
    ~TCardFile();
    TCardFile(TCardFile&& other) noexcept;
    TCardFile& operator=(TCardFile&& other) noexcept;
    TCardFile(const TCardFile&) = delete;
    TCardFile& operator=(const TCardFile&) = delete;

    // The size when the file was opened.
    uint64_t Size() const { return size_; }
    // Fills `into` with the bytes that start at `offset`; EInOutError when they cannot be read
    // (the file has shrunk since it was opened: "Read beyond end of file").
    void ReadAt(uint64_t offset, std::span<uint8_t> into) const;

private:
    TCardFile() = default;
    // Takes `fd`, a descriptor of its own, and the file's size; a folder is no card.
    void Adopt(int fd);
    int fd_ = -1;
    uint64_t size_ = 0;
};
