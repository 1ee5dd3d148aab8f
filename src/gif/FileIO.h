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

// The error for a failed system call, from its errno.
[[noreturn]] void ThrowSystemError(int error);

std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Creates or replaces the file with exactly these bytes.
void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);
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

// Creates or replaces a file and writes it through a fixed buffer. Close reports the errors
// of the last writes; a sink destroyed without Close just closes the file.
class TFileSink final : public TByteSink {
public:
    explicit TFileSink(const std::string& path);
    ~TFileSink() override;
    TFileSink(const TFileSink&) = delete;
    TFileSink& operator=(const TFileSink&) = delete;
    void Write(const uint8_t* data, size_t count) override;
    void Close();

private:
    void Flush();
    int fd_ = -1;
    std::vector<uint8_t> buffer_;
    size_t used_ = 0;
};

// Sequential byte input, from memory or from a file; reading past the end raises
// EInOutError "Read beyond end of file".
class TByteSource {
public:
    virtual ~TByteSource() = default;
    virtual void Read(uint8_t* dest, size_t count) = 0;
    virtual size_t Remaining() const = 0; // bytes left, as far as known
    uint8_t ReadByte() {
        uint8_t b;
        Read(&b, 1);
        return b;
    }
};

class TMemorySource final : public TByteSource {
public:
    explicit TMemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    void Read(uint8_t* dest, size_t count) override;
    size_t Remaining() const override { return bytes_.size() - pos_; }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

// Reads through a fixed buffer, so a file's bytes are never all in memory at once.
class TFileSource final : public TByteSource {
public:
    explicit TFileSource(const std::string& path);
    ~TFileSource() override;
    TFileSource(const TFileSource&) = delete;
    TFileSource& operator=(const TFileSource&) = delete;
    void Read(uint8_t* dest, size_t count) override;
    size_t Remaining() const override { return fileRemaining_ + (end_ - pos_); }

private:
    void Refill();
    int fd_ = -1;
    size_t fileRemaining_ = 0; // bytes of the file not yet in the buffer
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0, end_ = 0;
};
