#include "CardAssembly.h"

#include "CardPackageFormat.h"
#include "FileIO.h"

#include <cerrno>
#include <cstdio>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file in the output's directory that disappears unless it is renamed into place.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& outputPath) {
        const size_t slash = outputPath.rfind('/');
        const std::string dir = slash == std::string::npos ? "" : outputPath.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? outputPath : outputPath.substr(slash + 1);
        std::string pattern = dir + "." + name + ".XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) fileio::ThrowSystemError(errno);
        ::close(fd);
        path_ = pattern;
    }
    ~ScratchFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Path() const { return path_; }
    void RenameTo(const std::string& target) {
        if (::rename(path_.c_str(), target.c_str()) != 0) fileio::ThrowSystemError(errno);
        path_.clear();
    }

private:
    std::string path_;
};

} // namespace

void AssembleCard(const std::string& outputPath, const std::string& programDir,
                  const std::vector<std::string>& packedFiles, BuildProgress& progress, FileSystem& files) {
    ScratchFile card(outputPath);
    TFileSink out(card.Path());
    fileio::AppendFileTo(programDir + cardpackage::kStubName, out);
    fileio::AppendFileTo(programDir + cardpackage::kManifestName, out);
    progress.Progresse(90);
    const int count = int(packedFiles.size());
    for (int k = 1; k <= count; ++k) {
        const std::string path = programDir + packedFiles[size_t(k) - 1];
        fileio::AppendFileTo(path, out);
        files.Remove(path);
        progress.Progresse(50 + (k * 50) / count);
    }
    progress.Progresse(100);
    out.Close();
    // A card is a program: runnable by whoever may read it.
    if (::chmod(card.Path().c_str(), 0755) != 0) fileio::ThrowSystemError(errno);
    card.RenameTo(outputPath);
    files.Remove(programDir + cardpackage::kManifestName);
}
