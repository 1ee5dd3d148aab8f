// The card player. A card file is this program followed by its package; the player finds the
// package at the end of its own ELF image, checks its manifest and reads each packed file
// where it lies in the card, when it needs it.
//
//   CARD --list   prints one "name<TAB>size" line per packed file in manifest order, then the
//                 player script exactly as packed; exit status 0.
//   CARD --render DIR [--fps N] [--until MS]
//                 writes the card's frames as PNG files into DIR, with no display and no
//                 sound device; exit status 0.
//   CARD          prints which files the card holds and that playing comes in a later version;
//                 exit status 0, because the card itself is sound.
// A plain player without a package, a damaged package or player script, an unreadable file or
// frames that cannot be written: a message on stderr and exit status 1. Wrong arguments: the
// usage on stderr and exit status 2.

#include "CardFrames.h"
#include "CardPackage.h"
#include "ElfImage.h"
#include "FileIO.h"
#include "PlayerTexts.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string_view>

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

enum class Command { Summarise, List, Render };

struct Options {
    Command What = Command::Summarise;
    TRenderOptions Render;
};

std::optional<int64_t> Number(std::string_view text, int64_t min, int64_t max) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min ||
        value > max)
        return std::nullopt;
    return value;
}

// Nothing when the arguments are not one of the forms of the usage.
std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    if (argc == 1) return options;
    const std::string_view first = argv[1];
    if (first == playertext::kListOption) {
        options.What = Command::List;
        return argc == 2 ? std::optional(options) : std::nullopt;
    }
    if (first != playertext::kRenderOption || argc < 3) return std::nullopt;
    options.What = Command::Render;
    options.Render.Folder = argv[2];
    bool fps = false, until = false;
    for (int i = 3; i < argc; i += 2) {
        const std::string_view option = argv[i];
        if (i + 1 == argc) return std::nullopt;
        if (option == playertext::kFpsOption && !fps) {
            const auto n = Number(argv[i + 1], 1, 1000);
            if (!n) return std::nullopt;
            options.Render.FramesPerSecond = int(*n);
            fps = true;
        } else if (option == playertext::kUntilOption && !until) {
            options.Render.Until = Number(argv[i + 1], 0, timeline::kMaxDurationMs);
            if (!options.Render.Until) return std::nullopt;
            until = true;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

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
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, playertext::kUsage, argv[0]);
        return kUsageError;
    }
    try {
        // The kernel's link to the running program's file: right even when the card was
        // started through a symbolic link or renamed since. Only the ELF headers, the
        // manifest and the files asked for are read.
        TCardFile self("/proc/self/exe");
        const uint64_t stubSize =
            ElfImageEnd(self.Size(), [&self](uint64_t offset, std::span<uint8_t> into) {
                self.ReadAt(offset, into);
            });
        if (stubSize == self.Size()) {
            std::fputs(playertext::kNoPackage, stderr);
            return kFailed;
        }
        const TCardPackage package(std::move(self), stubSize);
        switch (options->What) {
        case Command::List:
            List(package);
            break;
        case Command::Summarise:
            Summarise(package);
            break;
        case Command::Render:
            std::printf(playertext::kRendered,
                        static_cast<long long>(RenderFrames(package, options->Render)),
                        options->Render.Folder.c_str());
            break;
        }
    } catch (const EInOutError& e) {
        std::fprintf(stderr, playertext::kCannotReadSelf, e.what());
        return kFailed;
    } catch (const EFrameOutputError& e) {
        std::fprintf(stderr, playertext::kCannotRender, e.what());
        return kFailed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, playertext::kDamaged, e.what());
        return kFailed;
    }
    return std::fflush(stdout) == 0 ? 0 : kFailed;
}
