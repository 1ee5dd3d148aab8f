#include "BuildServices.h"

#include "AtomicFile.h"
#include "FileIO.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

bool PosixFileSystem::Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void PosixFileSystem::Copy(const std::string& from, const std::string& to) {
    TUnnamedFile out(to);
    fileio::AppendFileTo(from, out);
    out.GiveName();
}

void PosixFileSystem::Remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) fileio::ThrowSystemError(errno);
}

int64_t PosixFileSystem::Size(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) fileio::ThrowSystemError(errno);
    return int64_t(info.st_size);
}
