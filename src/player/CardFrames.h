// The card's frames from its package, without a window: the pictures it names decoded from
// where they lie in the card, and the frames written as PNG files for tests and for people.
#pragma once

#include "CardPackage.h"
#include "CardTimeline.h"
#include "Compositor.h"
#include "FileIO.h"

#include <optional>
#include <stdexcept>
#include <string>

// A frame or a sound track that cannot be written; the card itself may be sound.
class ECardOutputError : public std::runtime_error {
public:
    explicit ECardOutputError(const std::string& message) : std::runtime_error(message) {}
};

// Runs `write`, which writes `path`, with its file errors told apart from the card's own.
template <typename Write> void WriteOutput(const std::string& path, Write&& write) {
    try {
        write();
    } catch (const EInOutError& e) {
        throw ECardOutputError("Cannot write " + path + ": " + e.what());
    }
}

// The pictures of a package, decoded when asked for. A picture that cannot be decoded raises
// ECardPackageError naming it.
class TPackedPictures final : public TPictureSource {
public:
    explicit TPackedPictures(const TCardPackage& package) : package_(package) {}
    std::shared_ptr<const TRgbImage> Picture(const std::string& name) override;

private:
    const TCardPackage& package_;
};

// The package's player script as a timeline, after checking that the card holds every file
// it names; EPlayerScriptError otherwise.
TCardTimeline ReadTimeline(const TCardPackage& package);
// The same once every picture the timeline shows has been decoded, one at a time, so that a
// card is refused before it plays, renders or writes its sound rather than half-way; throws as
// ReadTimeline and TPackedPictures do.
TCardTimeline CheckedTimeline(const TCardPackage& package);

struct TRenderOptions {
    std::string Folder;
    int FramesPerSecond = 25;
    std::optional<int64_t> Until; // ms; the end of the card's last line when not given
};

// Writes frame000000.png, frame000001.png ... into the folder (made if missing): frame i shows
// the card at i * 1000 / FramesPerSecond ms, rounded down, for every such moment before
// Until, and one last frame shows the card at Until. Returns the number of frames.
int64_t RenderFrames(const TCardPackage& package, const TCardTimeline& timeline,
                     const TRenderOptions& options);
