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

namespace {
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so a failure of the final write-back is reported.
    void Close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) ThrowSystemError(errno);
    }

private:
    int fd_;
};
} // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    TFileSource source(path);
    std::vector<uint8_t> bytes(source.Remaining());
    source.Read(bytes.data(), bytes.size());
    return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0) ThrowSystemError(errno);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowSystemError(errno);
        }
        done += size_t(n);
    }
    file.Close();
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
