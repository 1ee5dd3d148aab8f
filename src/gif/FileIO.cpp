#include "FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

void ThrowSystemError(int error) {
    switch (error) {
    case ENOENT:
        throw EInOutError(kFileNotFound);
    case ENOTDIR:
        throw EInOutError(kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        throw EInOutError(kAccessDenied);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        throw EInOutError(kDiskFull);
    default:
        throw EInOutError(kIoError);
    }
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    TFileSource source(path);
    std::vector<uint8_t> bytes(source.Remaining());
    source.Read(bytes.data(), bytes.size());
    return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
    TFileSink file(path);
    file.Write(bytes.data(), bytes.size());
    file.Close();
}

void WriteAll(int fd, const uint8_t* data, size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(fd, data, count);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ThrowSystemError(errno);
        data += n;
        count -= size_t(n);
    }
}

void AppendFileTo(const std::string& path, TByteSink& out) {
    TFileSource in(path);
    std::vector<uint8_t> chunk(256 * 1024);
    for (size_t left = in.Remaining(); left > 0;) {
        const size_t n = std::min(left, chunk.size());
        in.Read(chunk.data(), n);
        out.Write(chunk.data(), n);
        left -= n;
    }
}

} // namespace fileio

void TMemorySource::Read(uint8_t* dest, size_t count) {
    if (count > Remaining()) throw EInOutError(fileio::kReadBeyondEnd);
    if (count > 0) std::memcpy(dest, bytes_.data() + pos_, count);
    pos_ += count;
}

TFileSource::TFileSource(const std::string& path) : buffer_(64 * 1024) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) fileio::ThrowSystemError(errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd_);
        fileio::ThrowSystemError(error);
    }
    fileRemaining_ = size_t(info.st_size);
}

TFileSource::~TFileSource() { ::close(fd_); }

void TFileSource::Refill() {
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) fileio::ThrowSystemError(errno);
    if (n == 0) throw EInOutError(fileio::kReadBeyondEnd);
    pos_ = 0;
    end_ = size_t(n);
    fileRemaining_ -= std::min(fileRemaining_, size_t(n));
}

void TFileSource::Read(uint8_t* dest, size_t count) {
    while (count > 0) {
        if (pos_ == end_) Refill();
        const size_t n = std::min(count, end_ - pos_);
        std::memcpy(dest, buffer_.data() + pos_, n);
        pos_ += n;
        dest += n;
        count -= n;
    }
}

TFileSink::TFileSink(const std::string& path) : buffer_(64 * 1024) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) fileio::ThrowSystemError(errno);
}

TFileSink::~TFileSink() {
    if (fd_ >= 0) ::close(fd_);
}

void TFileSink::Write(const uint8_t* data, size_t count) {
    if (count >= buffer_.size()) { // large runs go straight through
        Flush();
        fileio::WriteAll(fd_, data, count);
        return;
    }
    if (used_ + count > buffer_.size()) Flush();
    std::memcpy(buffer_.data() + used_, data, count);
    used_ += count;
}

void TFileSink::Flush() {
    fileio::WriteAll(fd_, buffer_.data(), used_);
    used_ = 0;
}

void TFileSink::Close() {
    Flush();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fileio::ThrowSystemError(errno);
}
