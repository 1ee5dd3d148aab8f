#include "CardFile.h"

#include "FileIO.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

TCardFile::TCardFile(const std::string& path) {
    Adopt(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

TCardFile TCardFile::OfDescriptor(int fd) {
    TCardFile file;
    file.Adopt(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
    return file;
}

void TCardFile::Adopt(int fd) {
    fd_ = fd;
    struct stat info {};
    // A folder opens, but is no card.
    const int error = fd_ < 0                    ? errno
                      : ::fstat(fd_, &info) != 0 ? errno
                      : S_ISDIR(info.st_mode)    ? EISDIR
                                                 : 0;
    if (error != 0) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        fileio::ThrowSystemError(error);
    }
    size_ = uint64_t(info.st_size);
}

TCardFile::~TCardFile() {
    if (fd_ >= 0) ::close(fd_);
}

TCardFile::TCardFile(TCardFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

TCardFile& TCardFile::operator=(TCardFile&& other) noexcept {
    std::swap(fd_, other.fd_);
    std::swap(size_, other.size_);
    return *this;
}

void TCardFile::ReadAt(uint64_t offset, std::span<uint8_t> into) const {
    while (!into.empty()) {
        const ssize_t n = ::pread(fd_, into.data(), into.size(), off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fileio::ThrowSystemError(errno);
        if (n == 0) throw EInOutError(fileio::kReadBeyondEnd);
        into = into.subspan(size_t(n));
        offset += uint64_t(n);
    }
}
