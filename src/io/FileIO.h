// File input and output with the program's fixed error texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Every input/output error of the program, with one of the texts below.
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(const std::string& message) : std::runtime_error(message) {}
};

namespace fileio {
inline constexpr const char* kFileNotFound = "File not found";
inline constexpr const char* kPathNotFound = "Path not found";
inline constexpr const char* kAccessDenied = "File access denied";
inline constexpr const char* kReadBeyondEnd = "Read beyond end of file";
inline constexpr const char* kDiskFull = "Disk full";
inline constexpr const char* kInvalidNumericInput = "Invalid numeric input";
inline constexpr const char* kIoError = "I/O error";
inline constexpr const char* kNotRegularFile = "Not a regular file";
// "I/O error N", N being the system's error number.
std::string IoErrorMessage(int error);

// The error for a failed system call, from its errno.
[[noreturn]] void ThrowSystemError(int error);
// The same for a call on `path`: a name that is not there is "Path not found" when a folder
// on its way is missing, else "File not found".
[[noreturn]] void ThrowSystemError(int error, const std::string& path);

std::vector<uint8_t> ReadFileBytes(const std::string& path);
} // namespace fileio

class TByteSink;
namespace fileio {
// Writes every byte to the open file `fd`, however many calls that takes.
void WriteAll(int fd, const uint8_t* data, size_t count);
// Appends the whole file at `path` to `out`, through a fixed buffer.
void AppendFileTo(const std::string& path, TByteSink& out);
} // namespace fileio

// Sequential byte output, to memory or to a file.
class TByteSink {
public:
    virtual ~TByteSink() = default;
    virtual void Write(const uint8_t* data, size_t count) = 0;
};

class TMemorySink final : public TByteSink {
public:
    explicit TMemorySink(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    void Write(const uint8_t* data, size_t count) override { bytes_.insert(bytes_.end(), data, data + count); }

private:
    std::vector<uint8_t>& bytes_;
};

// Sequential byte input, from memory, a file or a pipe.
class TByteSource {
public:
    virtual ~TByteSource() = default;
    // Up to `count` bytes, at least one unless the input has ended: then 0.
    virtual size_t ReadSome(uint8_t* dest, size_t count) = 0;
    // Bytes left as far as known: a pipe's are not, so this is no test for the end.
    virtual size_t Remaining() const = 0;

    // Exactly `count` bytes; an input that ends first raises "Read beyond end of file".
    void Read(uint8_t* dest, size_t count);
    uint8_t ReadByte() {
        uint8_t b;
        Read(&b, 1);
        return b;
    }
};

class TMemorySource final : public TByteSource {
public:
    explicit TMemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t ReadSome(uint8_t* dest, size_t count) override;
    size_t Remaining() const override { return bytes_.size() - pos_; }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

// Reads through a fixed buffer, so a file's bytes are never all in memory at once, and to
// the real end of the input, whatever size the file claimed.
// Only a regular file is opened, at once and without waiting: a FIFO or a device as an input
// raises "Not a regular file", as reading one could wait for ever or never end. A pipe (the
// output of another program, a FIFO) is read only where `accepts` says so: for card scripts.
class TFileSource final : public TByteSource {
public:
    enum Accepts { RegularFiles, RegularFilesAndPipes };
    explicit TFileSource(const std::string& path, Accepts accepts = RegularFiles);
    // Reads the open descriptor `fd`, whatever it is, and closes it at the end.
    explicit TFileSource(int fd);
    ~TFileSource() override;
    TFileSource(const TFileSource&) = delete;
    TFileSource& operator=(const TFileSource&) = delete;
    size_t ReadSome(uint8_t* dest, size_t count) override;
    size_t Remaining() const override { return fileRemaining_ + (end_ - pos_); }

private:
    bool Refill(); // false at the end of the input
    int fd_ = -1;
    size_t fileRemaining_ = 0; // bytes of the file not yet in the buffer, as far as known
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0, end_ = 0;
};

// A regular file's bytes where they lie, mapped read-only: pages are read only when touched, so
// a reader that looks at a file's headers alone costs no memory for the rest. Opened as
// TFileSource opens files; errors raise EInOutError.
class TMappedFile {
public:
    explicit TMappedFile(const std::string& path);
    ~TMappedFile();
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;
    std::span<const uint8_t> Bytes() const { return bytes_; }

private:
    std::span<const uint8_t> bytes_;
};
