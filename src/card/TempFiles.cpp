#include "TempFiles.h"

#include "CardTexts.h"

#include <filesystem>
#include <system_error>

namespace {
void DeleteFileIfPresent(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec || !fs::exists(status) || fs::is_directory(status)) return;
    fs::remove(path, ec);
}
} // namespace

void DeleteIntermediateFiles(const std::vector<std::string>& tempFiles,
                             const TWorkDirLock& workDir) {
    for (const std::string& path : tempFiles)
        DeleteFileIfPresent(path);
    DeleteFileIfPresent(workDir.Dir() + cardtext::kPlayerScriptName);
}
