#include "AtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Folder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Runs `make` on short names in `folder` (".vlm" with a few hexadecimal digits, so that a
// target whose own name is near the system's limit still has room beside it) until one is
// free. `make` answers false and leaves errno set when it fails.
std::atomic<unsigned> scratchCounter{0};
template <class Make> std::string AtFreeScratchName(const std::string& folder, Make make) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "/.vlm%x-%x", unsigned(::getpid()), scratchCounter++);
        const std::string path = folder + name;
        if (make(path)) return path;
        if (errno != EEXIST) fileio::ThrowSystemError(errno);
    }
    fileio::ThrowSystemError(EEXIST);
}

// A link is followed, so that its file is replaced rather than the link itself. A link that
// names nothing is replaced by the new file.
std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        ::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

// Renaming needs only the folder's permission: whether the user may replace an existing
// file is asked of the file itself. A device, a pipe or a folder is never replaced by a file.
std::string CheckedTarget(const std::string& path) {
    std::string target = ResolvedTarget(path);
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) return target;
    if (!S_ISREG(info.st_mode)) throw EInOutError(fileio::kAccessDenied);
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        fileio::ThrowSystemError(errno);
    return target;
}

} // namespace

TUnnamedFile::TUnnamedFile(const std::string& path) : path_(path), folder_(Folder(path)) {
    fd_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd_ >= 0) return;
    // File systems without nameless files: a short name that nobody else picks, removed
    // again unless the file is named.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        fileio::ThrowSystemError(errno, path_);
    scratchName_ = AtFreeScratchName(folder_, [this](const std::string& scratch) {
        fd_ = ::open(scratch.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd_ >= 0;
    });
}

TUnnamedFile::~TUnnamedFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!scratchName_.empty()) ::unlink(scratchName_.c_str());
}

void TUnnamedFile::Write(const uint8_t* data, size_t count) {
    fileio::WriteAll(fd_, data, count);
    size_ += count;
}

void TUnnamedFile::WriteAt(uint64_t offset, const uint8_t* data, size_t count) {
    while (count > 0) {
        const ssize_t n = ::pwrite(fd_, data, count, off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fileio::ThrowSystemError(errno);
        data += n;
        count -= size_t(n);
        offset += uint64_t(n);
    }
    size_ = std::max(size_, offset);
}

void TUnnamedFile::GiveName() {
    // A nameless file can only be linked to a free name; the rename then takes the place of
    // whatever stands at `path`, in one step.
    if (scratchName_.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        scratchName_ = AtFreeScratchName(folder_, [&self](const std::string& scratch) {
            return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, scratch.c_str(),
                            AT_SYMLINK_FOLLOW) == 0;
        });
    }
    if (::rename(scratchName_.c_str(), path_.c_str()) != 0) fileio::ThrowSystemError(errno);
    scratchName_.clear();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fileio::ThrowSystemError(errno);
}

TFileBeside::TFileBeside(const std::string& target)
    : target_(CheckedTarget(target)), file_(target_) {
    // The file that takes the target's place keeps its owner where the process may give
    // it (the owner first: a change of owner clears the set-id bits), then its permissions.
    struct stat info {};
    if (::stat(target_.c_str(), &info) != 0) return;
    const int fd = file_.Descriptor();
    if (::fchown(fd, info.st_uid, info.st_gid) != 0) (void)::fchown(fd, uid_t(-1), info.st_gid);
    (void)::fchmod(fd, info.st_mode & 07777);
}

void TFileBeside::MarkExecutable() {
    struct stat info {};
    const int fd = file_.Descriptor();
    if (::fstat(fd, &info) != 0 || ::fchmod(fd, (info.st_mode & 07777) | 0111) != 0)
        fileio::ThrowSystemError(errno);
}

void TFileBeside::PlaceAtTarget(TNaming naming) {
    if (naming == TNaming::OnDisk && ::fsync(file_.Descriptor()) != 0)
        fileio::ThrowSystemError(errno);
    file_.GiveName();
}

std::string WithResolvedFolder(const std::string& path) {
    char folder[PATH_MAX];
    if (!::realpath(Folder(path).c_str(), folder)) return path;
    const std::string name = path.substr(path.rfind('/') + 1);
    const std::string resolved = folder;
    return (resolved == "/" ? "" : resolved) + "/" + name;
}

std::string PathWrittenBy(const std::string& path) {
    return WithResolvedFolder(ResolvedTarget(path));
}

void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                         TNaming naming) {
    TFileBeside file(path);
    file.Write(bytes.data(), bytes.size());
    file.PlaceAtTarget(naming);
}
