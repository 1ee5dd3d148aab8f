#include "BuildServices.h"

#include "FileIO.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

bool PosixFileSystem::Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void PosixFileSystem::Copy(const std::string& from, const std::string& to) {
    TFileSource in(from);
    TFileSink out(to);
    std::vector<uint8_t> chunk(64 * 1024);
    for (size_t left = in.Remaining(); left > 0;) {
        const size_t n = std::min(left, chunk.size());
        in.Read(chunk.data(), n);
        out.Write(chunk.data(), n);
        left -= n;
    }
    out.Close();
}

void PosixFileSystem::Remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) fileio::ThrowSystemError(errno);
}

int64_t PosixFileSystem::Size(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) fileio::ThrowSystemError(errno);
    return int64_t(info.st_size);
}
