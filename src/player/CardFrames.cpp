#include "CardFrames.h"

#include "FileIO.h"
#include "GifPicture.h"
#include "GifUnit.h"
#include "PngFile.h"

#include <cstdio>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

std::shared_ptr<const TRgbImage> TPackedPictures::Picture(const std::string& name) {
    const TPackedFile* file = package_.Find(name);
    if (!file) throw ECardPackageError("The card holds no picture \"" + name + "\"");
    // Failing to read the card itself is not the picture's fault, so it passes as it is.
    const std::vector<uint8_t> gif = package_.Read(*file);
    try {
        return std::make_shared<const TRgbImage>(DecodeGifPicture(gif));
    } catch (const EListError&) {
        throw ECardPackageError("The picture \"" + name + "\" holds no image");
    } catch (const std::runtime_error& e) { // the codec's errors, a GIF cut short among them
        throw ECardPackageError("The picture \"" + name + "\" cannot be read: " + e.what());
    }
}

TCardTimeline ReadTimeline(const TCardPackage& package) {
    TCardTimeline timeline = ParsePlayerScript(package.PlayerScript());
    for (const TTimelineStep& step : timeline.Steps)
        if (!step.File.empty() && !package.Find(step.File))
            throw EPlayerScriptError("Player script line " + std::to_string(step.Line) +
                                     ": the card holds no file \"" + step.File + "\"");
    return timeline;
}

TCardTimeline CheckedTimeline(const TCardPackage& package) {
    TCardTimeline timeline = ReadTimeline(package);
    TPackedPictures pictures(package);
    std::set<std::string> decoded;
    for (const TTimelineStep& step : timeline.Steps)
        if ((step.Kind == TStepKind::Background || step.Kind == TStepKind::Text) &&
            decoded.insert(step.File).second)
            pictures.Picture(step.File);
    return timeline;
}

namespace {

std::string FramePath(const std::string& folder, int64_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "frame%06lld.png", static_cast<long long>(index));
    return (fs::path(folder) / name).string();
}

} // namespace

int64_t RenderFrames(const TCardPackage& package, const TCardTimeline& timeline,
                     const TRenderOptions& options) {
    TPackedPictures pictures(package);
    TCompositor compositor(timeline, pictures);
    const int64_t until = options.Until.value_or(compositor.Timeline().End);

    std::error_code error;
    fs::create_directories(options.Folder, error);
    if (error)
        throw ECardOutputError("Cannot make the folder " + options.Folder + ": " + error.message());
    int64_t index = 0;
    for (;; ++index) {
        const int64_t ms = std::min(index * 1000 / options.FramesPerSecond, until);
        const std::string path = FramePath(options.Folder, index);
        const TRgbImage& frame = compositor.FrameAt(ms);
        WriteOutput(path, [&] { WritePng(path, frame); });
        if (ms == until) break;
    }
    return index + 1;
}
