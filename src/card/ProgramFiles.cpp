#include "ProgramFiles.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace {
// From the installed programs' folder to the stub's folder and the data folder, as the
// install lays them out (set by the build from its install directories).
constexpr const char* kStubDirFromPrograms = VELMORA_STUB_DIR_FROM_PROGRAMS;
constexpr const char* kDataDirFromPrograms = VELMORA_DATA_DIR_FROM_PROGRAMS;
constexpr const char* kWorkDirInCache = "velmora/work/";

// An absolute path from the environment, or nothing: a relative one would follow the
// current folder about.
const char* AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? value : nullptr;
}

// The user's cache folder, ending with "/": $XDG_CACHE_HOME, else .cache in the home folder.
std::string CacheHome() {
    if (const char* cache = AbsoluteVariable("XDG_CACHE_HOME")) return std::string(cache) + "/";
    const char* home = AbsoluteVariable("HOME");
    if (!home)
        if (const passwd* user = ::getpwuid(::getuid())) home = user->pw_dir;
    return std::string(home ? home : "") + "/.cache/";
}

std::string Folder(const std::string& path) {
    std::string folder = std::filesystem::path(path).lexically_normal().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}
} // namespace

ProgramFiles LocateProgramFiles(const std::string& programDir) {
    const std::string userWorkDir = Folder(CacheHome() + kWorkDirInCache);
    ProgramFiles together = ProgramFiles::AllIn(programDir);
    if (::access(together.Stub.c_str(), F_OK) == 0) {
        // The build folder. Run as root, the program could write anywhere, which is why
        // being installed, not only the right to write, sends the working files away.
        if (::access(programDir.c_str(), W_OK) != 0) {
            together.WorkDir = userWorkDir;
            together.WorkFolder = TWorkDirLock::UsersOwn;
        }
        return together;
    }
    return {Folder(programDir + kStubDirFromPrograms) + cardpackage::kStubName,
            Folder(programDir + kDataDirFromPrograms), userWorkDir, TWorkDirLock::UsersOwn};
}
