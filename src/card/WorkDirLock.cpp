#include "WorkDirLock.h"

#include "FileIO.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The folder itself carries the lock, so that no lock file of ours lies about in it. The
// lock goes with the process: a killed build never leaves the folder locked.
int OpenFolder(const std::string& dir) {
    return ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// A per-user working folder is made on first use, and again if the user's cache was cleared
// meanwhile, private to the user as cache folders are. Failures show when it is opened.
void MakeFolder(const std::string& dir) {
    std::string made;
    for (const auto& part : std::filesystem::path(dir)) {
        made = (std::filesystem::path(made) / part).string();
        ::mkdir(made.c_str(), 0700);
    }
}

int Lock(int fd, int how) {
    int result;
    do {
        result = ::flock(fd, how);
    } while (result != 0 && errno == EINTR);
    return result;
}
} // namespace

TWorkDirLock::TWorkDirLock(const std::string& dir, const std::function<void()>& waiting)
    : dir_(dir), fd_(OpenFolder(dir)) {
    if (fd_ < 0 && errno == ENOENT) {
        MakeFolder(dir);
        fd_ = OpenFolder(dir);
    }
    if (fd_ < 0) fileio::ThrowSystemError(errno);
    if (Lock(fd_, LOCK_EX | LOCK_NB) == 0) return;
    int error = errno;
    if (error == EWOULDBLOCK) {
        try {
            waiting();
        } catch (...) {
            ::close(fd_);
            throw;
        }
        if (Lock(fd_, LOCK_EX) == 0) return;
        error = errno;
    }
    ::close(fd_);
    fileio::ThrowSystemError(error);
}

std::optional<TWorkDirLock> TWorkDirLock::TryLock(const std::string& dir) {
    const int fd = OpenFolder(dir);
    if (fd < 0) return std::nullopt;
    if (Lock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return TWorkDirLock(dir, fd);
}

TWorkDirLock::TWorkDirLock(TWorkDirLock&& other) noexcept
    : dir_(std::move(other.dir_)), fd_(other.fd_) {
    other.fd_ = -1;
}

TWorkDirLock::~TWorkDirLock() {
    if (fd_ >= 0) ::close(fd_); // closing lets go of the lock
}
