#include "CardAssembly.h"

#include "AtomicFile.h"
#include "CardPackageFormat.h"

void AssembleCard(const std::string& outputPath, const std::string& programDir,
                  const std::vector<std::string>& packedFiles, BuildProgress& progress, FileSystem& files) {
    TFileBeside card(outputPath);
    fileio::AppendFileTo(programDir + cardpackage::kStubName, card);
    fileio::AppendFileTo(programDir + cardpackage::kManifestName, card);
    progress.Progresse(90);
    const int count = int(packedFiles.size());
    for (int k = 1; k <= count; ++k) {
        const std::string path = programDir + packedFiles[size_t(k) - 1];
        fileio::AppendFileTo(path, card);
        files.Remove(path);
        progress.Progresse(50 + (k * 50) / count);
    }
    progress.Progresse(100);
    card.MarkExecutable();
    card.PlaceAtTarget();
    files.Remove(programDir + cardpackage::kManifestName);
}
