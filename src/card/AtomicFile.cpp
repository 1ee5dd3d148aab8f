#include "AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A link is followed, so that its file is replaced rather than the link itself. A link that
// names nothing is replaced by the new file.
std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && ::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}
} // namespace

TFileBeside::TFileBeside(const std::string& target) : target_(ResolvedTarget(target)) {
    // Another save of the same file by another process picks another name.
    for (int attempt = 0;; ++attempt) {
        path_ = target_ + ".save" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) break;
        if (errno != EEXIST || attempt >= 99) fileio::ThrowSystemError(errno, path_);
    }
    // A file that is replaced keeps its permissions; a new one gets the usual ones.
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) (void)::fchmod(fd_, info.st_mode & 07777);
}

TFileBeside::~TFileBeside() {
    if (fd_ >= 0) ::close(fd_);
    if (!placed_) ::unlink(path_.c_str());
}

void TFileBeside::Write(const uint8_t* data, size_t count) {
    fileio::WriteAll(fd_, data, count);
}

void TFileBeside::MarkExecutable() {
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || ::fchmod(fd_, (info.st_mode & 07777) | 0111) != 0)
        fileio::ThrowSystemError(errno);
}

// On disk first, so that a crash just after cannot leave an empty file under the old name.
void TFileBeside::PlaceAtTarget() {
    if (::fsync(fd_) != 0) fileio::ThrowSystemError(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fileio::ThrowSystemError(errno);
    if (::rename(path_.c_str(), target_.c_str()) != 0) fileio::ThrowSystemError(errno);
    placed_ = true;
}

void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    TFileBeside file(path);
    file.Write(bytes.data(), bytes.size());
    file.PlaceAtTarget();
}
