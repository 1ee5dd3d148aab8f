// The card player. A card file is this program followed by its package; the player finds the
// package at the end of its own ELF image, checks it whole and, for now, reports what it holds.
//
//   CARD --list   prints one "name<TAB>size" line per packed file in manifest order, then the
//                 player script exactly as packed; exit status 0.
//   CARD          prints which files the card holds and that playing comes in a later version;
//                 exit status 0, because the card itself is sound.
// A plain player without a package, a damaged package or an unreadable file: a message on
// stderr and exit status 1. Wrong arguments: the usage on stderr and exit status 2.

#include "CardPackage.h"
#include "ElfImage.h"
#include "FileIO.h"
#include "PlayerTexts.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

void List(const TCardPackage& package) {
    for (const TPackedFile& file : package.Files())
        std::printf("%s\t%llu\n", file.Name.c_str(), static_cast<unsigned long long>(file.Size));
    const std::string_view script = package.PlayerScript();
    std::fwrite(script.data(), 1, script.size(), stdout);
}

void Summarise(const TCardPackage& package) {
    std::printf(playertext::kHolds, package.Files().size());
    for (const TPackedFile& file : package.Files())
        std::printf(" %s", file.Name.c_str());
    std::printf("\n%s", playertext::kNoPlayback);
}

} // namespace

int main(int argc, char** argv) {
    const bool list = argc == 2 && std::strcmp(argv[1], playertext::kListOption) == 0;
    if (argc > 2 || (argc == 2 && !list)) {
        std::fprintf(stderr, playertext::kUsage, argv[0]);
        return kUsageError;
    }
    try {
        // The kernel's link to the running program's file: right even when the card was
        // started through a symbolic link or renamed since.
        std::vector<uint8_t> self = fileio::ReadFileBytes("/proc/self/exe");
        const uint64_t stubSize = ElfImageEnd(self);
        if (stubSize == self.size()) {
            std::fputs(playertext::kNoPackage, stderr);
            return kFailed;
        }
        const TCardPackage package(std::move(self), stubSize);
        if (list)
            List(package);
        else
            Summarise(package);
    } catch (const EInOutError& e) {
        std::fprintf(stderr, playertext::kCannotReadSelf, e.what());
        return kFailed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, playertext::kDamaged, e.what());
        return kFailed;
    }
    return std::fflush(stdout) == 0 ? 0 : kFailed;
}
