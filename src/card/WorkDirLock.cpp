#include "WorkDirLock.h"

#include "BuildTexts.h"
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

// The user's working folder, opened only when it is the user's own folder, and made private
// (0700) whatever its permissions were. -1 with errno set when it cannot be opened; a link or
// another user's folder raises EInOutError at once, naming it.
int OpenUsersFolder(const std::string& dir) {
    // Without its trailing "/", so that a link in its place is not followed.
    std::string path = dir;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 && (errno == ELOOP || errno == ENOTDIR) && ::lstat(path.c_str(), &info) == 0 &&
        S_ISLNK(info.st_mode))
        throw EInOutError(buildtext::WorkFolderIsLink(dir));
    if (fd < 0) return -1;
    const int error = ::fstat(fd, &info) != 0          ? errno
                      : info.st_uid != ::geteuid()     ? EPERM
                      : (info.st_mode & 07777) == 0700 ? 0
                      : ::fchmod(fd, 0700) != 0        ? errno
                                                       : 0;
    if (error == 0) return fd;
    ::close(fd);
    if (error == EPERM) throw EInOutError(buildtext::WorkFolderNotOwn(dir));
    fileio::ThrowSystemError(error);
}

int Open(const std::string& dir, TWorkDirLock::Folder folder) {
    return folder == TWorkDirLock::UsersOwn ? OpenUsersFolder(dir) : OpenFolder(dir);
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

TWorkDirLock::TWorkDirLock(const std::string& dir, Folder folder,
                           const std::function<void()>& waiting)
    : dir_(dir), fd_(Open(dir, folder)) {
    if (fd_ < 0 && errno == ENOENT) {
        MakeFolder(dir);
        fd_ = Open(dir, folder);
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

std::optional<TWorkDirLock> TWorkDirLock::TryLock(const std::string& dir, Folder folder) {
    int fd = -1;
    try {
        fd = Open(dir, folder);
    } catch (const EInOutError&) {
        return std::nullopt;
    }
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
