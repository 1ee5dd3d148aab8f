#include "AtomicFile.h"

#include "FileIO.h"

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
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        ::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

// The new file beside the target. It is removed unless it has taken the target's place.
class FileBeside {
public:
    explicit FileBeside(const std::string& target) {
        // Another save of the same file by another process picks another name.
        for (int attempt = 0;; ++attempt) {
            path_ = target + ".save" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) break;
            if (errno != EEXIST || attempt >= 99) fileio::ThrowSystemError(errno);
        }
        // A file that is replaced keeps its permissions; a new one gets the usual ones.
        struct stat info {};
        if (::stat(target.c_str(), &info) == 0) (void)::fchmod(fd_, info.st_mode & 07777);
    }
    ~FileBeside() {
        if (fd_ >= 0) ::close(fd_);
        if (!placed_) ::unlink(path_.c_str());
    }
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    void Write(std::span<const uint8_t> bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fileio::ThrowSystemError(errno);
            bytes = bytes.subspan(size_t(n));
        }
    }

    // Puts the complete file in the target's place: on disk first, so that a crash just
    // after cannot leave an empty file under the old name.
    void PlaceAt(const std::string& target) {
        if (::fsync(fd_) != 0) fileio::ThrowSystemError(errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fileio::ThrowSystemError(errno);
        if (::rename(path_.c_str(), target.c_str()) != 0) fileio::ThrowSystemError(errno);
        placed_ = true;
    }

private:
    std::string path_;
    int fd_ = -1;
    bool placed_ = false;
};
} // namespace

void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string target = ResolvedTarget(path);
    FileBeside file(target);
    file.Write(bytes);
    file.PlaceAt(target);
}
