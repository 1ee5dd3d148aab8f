#include "CardAssembly.h"

#include "AtomicFile.h"
#include "BuildTexts.h"
#include "CardPackage.h"
#include "CardPackageFormat.h"

#include <algorithm>
#include <vector>

namespace {
// Every byte of the card, read a block at a time, so that the memory it takes does not grow
// with the card.
void ReadWhole(const TCardFile& card) {
    constexpr uint64_t kBlock = 1 << 20;
    std::vector<uint8_t> block(size_t(std::min(kBlock, card.Size())));
    for (uint64_t at = 0; at < card.Size(); at += block.size()) {
        block.resize(size_t(std::min(kBlock, card.Size() - at)));
        card.ReadAt(at, block);
    }
}

// The card as the player will read it: the package after the stub, holding exactly the files
// appended, in order, each as long as it was; and every byte of it read back.
void CheckReadsBack(const TFileBeside& card, uint64_t stubSize,
                    const std::vector<TPackedFile>& appended, const std::string& outputPath) {
    try {
        const TCardPackage package(TCardFile::OfDescriptor(card.Descriptor()), stubSize);
        std::vector<TPackedFile> read = package.Files();
        for (TPackedFile& file : read)
            file.Offset = 0;
        if (read != appended)
            throw ECardPackageError("its manifest does not list the files appended");
    } catch (const ECardPackageError& e) {
        throw ECardPackageError(buildtext::CardUnreadable(outputPath, e.what()));
    }
    ReadWhole(TCardFile::OfDescriptor(card.Descriptor()));
}
} // namespace

void AssembleCard(const std::string& outputPath, const std::string& stub,
                  const std::string& programDir, const std::vector<std::string>& packedFiles,
                  BuildProgress& progress, FileSystem& files) {
    TFileBeside card(outputPath);
    fileio::AppendFileTo(stub, card);
    const uint64_t stubSize = card.Size();
    fileio::AppendFileTo(programDir + cardpackage::kManifestName, card);
    progress.Progresse(90);
    std::vector<TPackedFile> appended;
    const int count = int(packedFiles.size());
    for (int k = 1; k <= count; ++k) {
        const std::string& name = packedFiles[size_t(k) - 1];
        const uint64_t start = card.Size();
        fileio::AppendFileTo(programDir + name, card);
        appended.push_back({name, 0, card.Size() - start});
        files.Remove(programDir + name);
        progress.Progresse(50 + (k * 50) / count);
    }
    progress.Progresse(100);
    CheckReadsBack(card, stubSize, appended, outputPath);
    card.MarkExecutable();
    card.PlaceAtTarget();
    files.Remove(programDir + cardpackage::kManifestName);
}
