// The card player. A card file is this program followed by its package; the player finds the
// package at the end of its own ELF image, checks its manifest and reads each packed file
// where it lies in the card, when it needs it.
//
//   CARD          plays the card in a window of its size, titled after the card file, with
//                 its sound, until Escape or the close box; exit status 0.
//   CARD --list   prints one "name<TAB>size" line per packed file in manifest order, then the
//                 player script exactly as packed; exit status 0.
//   CARD --render DIR [--fps N] [--until MS]
//                 writes the card's frames as PNG files into DIR, with no display and no
//                 sound device; exit status 0.
//   CARD --audio OUT.wav
//                 writes the card's sound track, with no sound device; exit status 0.
// A plain player without a package, a damaged package or player script, an unreadable file or
// output that cannot be written: a message on stderr (and in a message box when playing) and
// exit status 1. Wrong arguments, or no display to play on: a message on stderr and exit
// status 2.

#include "CardFrames.h"
#include "CardPackage.h"
#include "CardPlayback.h"
#include "CardSound.h"
#include "CardWindow.h"
#include "ElfImage.h"
#include "FileIO.h"
#include "PlayerTexts.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string_view>
#include <strings.h>

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr int kNoDisplay = 2;

enum class Command { Play, List, Render, Audio };

struct Options {
    Command What = Command::Play;
    TRenderOptions Render;
    std::string SoundTrack;
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
    if (first == playertext::kAudioOption) {
        options.What = Command::Audio;
        if (argc != 3) return std::nullopt;
        options.SoundTrack = argv[2];
        return options;
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

// A plain player, which holds no card.
struct ENoPackage {};

void List(const TCardPackage& package) {
    for (const TPackedFile& file : package.Files())
        std::printf("%s\t%llu\n", file.Name.c_str(), static_cast<unsigned long long>(file.Size));
    const std::string_view script = package.PlayerScript();
    std::fwrite(script.data(), 1, script.size(), stdout);
}

// The card file's name, which titles its window and its message boxes.
std::string CardTitle() {
    std::error_code error;
    std::string name = std::filesystem::read_symlink("/proc/self/exe", error).filename().string();
    const size_t ending = std::string_view(playertext::kCardExtension).size();
    if (name.size() > ending &&
        ::strcasecmp(name.c_str() + name.size() - ending, playertext::kCardExtension) == 0)
        name.resize(name.size() - ending);
    return name.empty() ? playertext::kUntitled : name;
}

std::string Formatted(const char* format, const std::string& what) {
    const int size = std::snprintf(nullptr, 0, format, what.c_str());
    std::string text(size_t(std::max(size, 0)) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, what.c_str());
    text.resize(text.size() - 1);
    return text;
}

void Complain(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
}

int Run(const Options& options) {
    // The kernel's link to the running program's file: right even when the card was started
    // through a symbolic link or renamed since. Only the ELF headers, the manifest and the
    // files asked for are read.
    TCardFile self("/proc/self/exe");
    const uint64_t stubSize =
        ElfImageEnd(self.Size(), [&self](uint64_t offset, std::span<uint8_t> into) {
            self.ReadAt(offset, into);
        });
    if (stubSize == self.Size()) throw ENoPackage();
    const TCardPackage package(std::move(self), stubSize);
    // Played, rendered or heard, a card is checked whole the same way before anything starts.
    switch (options.What) {
    case Command::List:
        List(package);
        break;
    case Command::Render: {
        const int64_t frames = RenderFrames(package, CheckedTimeline(package), options.Render);
        std::printf(playertext::kRendered, static_cast<long long>(frames),
                    options.Render.Folder.c_str());
        break;
    }
    case Command::Audio:
        WriteSoundTrack(package, CheckedTimeline(package), options.SoundTrack, kSoundTrackRate,
                        Complain);
        std::printf(playertext::kSoundWritten, options.SoundTrack.c_str());
        break;
    case Command::Play:
        PlayCard(package, CheckedTimeline(package), CardTitle(), Complain);
        break;
    }
    return std::fflush(stdout) == 0 ? 0 : kFailed;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, playertext::kUsage, argv[0]);
        return kUsageError;
    }
    // Someone who started the card from a desktop sees no terminal: the message comes in a
    // box as well.
    const auto fail = [&options](const std::string& message) {
        std::fputs(message.c_str(), stderr);
        if (options->What == Command::Play)
            ShowCardError(CardTitle(), message.substr(0, message.size() - 1));
        return kFailed;
    };
    try {
        return Run(*options);
    } catch (const ENoPackage&) {
        return fail(playertext::kNoPackage);
    } catch (const ENoDisplay& e) {
        std::fprintf(stderr, playertext::kNoDisplay, e.what());
        return kNoDisplay;
    } catch (const EInOutError& e) {
        return fail(Formatted(playertext::kCannotReadSelf, e.what()));
    } catch (const ECardOutputError& e) {
        return fail(Formatted(options->What == Command::Audio ? playertext::kCannotWriteSound
                                                              : playertext::kCannotRender,
                              e.what()));
    } catch (const std::exception& e) {
        return fail(Formatted(playertext::kDamaged, e.what()));
    }
}
