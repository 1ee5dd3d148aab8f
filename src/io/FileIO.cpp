#include "FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

std::string IoErrorMessage(int error) {
    return std::string(kIoError) + " " + std::to_string(error);
}

void ThrowSystemError(int error, const std::string& path) {
    if (error == ENOENT) {
        const size_t slash = path.find_last_of('/');
        struct stat info {};
        if (slash != std::string::npos && slash > 0 &&
            ::stat(path.substr(0, slash).c_str(), &info) != 0)
            throw EInOutError(kPathNotFound);
    }
    ThrowSystemError(error);
}

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
        throw EInOutError(IoErrorMessage(error));
    }
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    TFileSource source(path);
    // One byte more than the file's size, so that its end is seen without growing; a file
    // that grew meanwhile is read whole all the same.
    std::vector<uint8_t> bytes(source.Remaining() + 1);
    size_t size = 0;
    while (const size_t n = source.ReadSome(bytes.data() + size, bytes.size() - size)) {
        size += n;
        if (size == bytes.size()) bytes.resize(2 * size);
    }
    bytes.resize(size);
    return bytes;
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
    for (size_t n; (n = in.ReadSome(chunk.data(), chunk.size())) > 0;)
        out.Write(chunk.data(), n);
}

} // namespace fileio

void TByteSource::Read(uint8_t* dest, size_t count) {
    while (count > 0) {
        const size_t n = ReadSome(dest, count);
        if (n == 0) throw EInOutError(fileio::kReadBeyondEnd);
        dest += n;
        count -= n;
    }
}

size_t TMemorySource::ReadSome(uint8_t* dest, size_t count) {
    const size_t n = std::min(count, Remaining());
    if (n > 0) std::memcpy(dest, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

namespace {
struct OpenedInput {
    int Fd;
    bool Pipe;
    size_t Size; // 0 for a pipe
};

// Opening a FIFO that no program writes would wait: the kind is known only once open.
OpenedInput OpenInput(const std::string& path, bool pipes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) fileio::ThrowSystemError(errno, path);
    const auto fail = [fd](int error) {
        ::close(fd);
        if (error == 0) throw EInOutError(fileio::kNotRegularFile);
        fileio::ThrowSystemError(error);
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0) fail(errno);
    if (S_ISDIR(info.st_mode)) fail(EISDIR);
    const bool pipe = S_ISFIFO(info.st_mode) && pipes;
    if (!S_ISREG(info.st_mode) && !pipe) fail(0);
    // From here a read waits for a pipe's writer; a FIFO that none has open reads as ended.
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) fail(errno);
    return {fd, pipe, pipe ? 0 : size_t(info.st_size)};
}
} // namespace

TFileSource::TFileSource(const std::string& path, Accepts accepts) : buffer_(64 * 1024) {
    const OpenedInput input = OpenInput(path, accepts == RegularFilesAndPipes);
    fd_ = input.Fd;
    fileRemaining_ = input.Size;
}

TFileSource::TFileSource(int fd) : fd_(fd), buffer_(64 * 1024) {}

TFileSource::~TFileSource() { ::close(fd_); }

bool TFileSource::Refill() {
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) fileio::ThrowSystemError(errno);
    pos_ = 0;
    end_ = size_t(n);
    fileRemaining_ -= std::min(fileRemaining_, size_t(n));
    return n > 0;
}

size_t TFileSource::ReadSome(uint8_t* dest, size_t count) {
    if (pos_ == end_ && (count == 0 || !Refill())) return 0;
    const size_t n = std::min(count, end_ - pos_);
    std::memcpy(dest, buffer_.data() + pos_, n);
    pos_ += n;
    return n;
}

TMappedFile::TMappedFile(const std::string& path) {
    const OpenedInput input = OpenInput(path, false);
    if (input.Size > 0) {
        void* bytes = ::mmap(nullptr, input.Size, PROT_READ, MAP_PRIVATE, input.Fd, 0);
        const int error = errno;
        ::close(input.Fd);
        if (bytes == MAP_FAILED) fileio::ThrowSystemError(error);
        bytes_ = {static_cast<const uint8_t*>(bytes), input.Size};
    } else {
        ::close(input.Fd);
    }
}

TMappedFile::~TMappedFile() {
    if (!bytes_.empty()) ::munmap(const_cast<uint8_t*>(bytes_.data()), bytes_.size());
}
