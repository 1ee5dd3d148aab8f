#include "CardBuild.h"

#include "BuildTexts.h"
#include "CardAssembly.h"
#include "CardPackageFormat.h"
#include "FileIO.h"
#include "PlayerScript.h"

#include <cmath>

namespace {

// A text file written line by line, every line ended by CR LF.
class LineFile {
public:
    explicit LineFile(const std::string& path) : sink_(path) {}
    void WriteLine(const std::string& line) {
        sink_.Write(reinterpret_cast<const uint8_t*>(line.data()), line.size());
        sink_.Write(reinterpret_cast<const uint8_t*>(cardpackage::kLineEnd), 2);
    }
    void Close() { sink_.Close(); }

private:
    TFileSink sink_;
};

// Shows the progress window for the lifetime of the object: however the build ends, the
// window goes away.
class ProgressShown {
public:
    explicit ProgressShown(BuildProgress& progress) : progress_(progress) {
        progress_.Progresse(0);
        progress_.Show();
        progress_.Labl(buildtext::kInitializing);
    }
    ~ProgressShown() { progress_.Hide(); }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    BuildProgress& progress_;
};

class CardBuilder {
public:
    CardBuilder(const CardScript& script, const std::string& programDir, std::vector<std::string>& tempFiles,
                const BuildServicesSet& services)
        : script_(script), dir_(programDir), tempFiles_(tempFiles), s_(services),
          manifest_(programDir + cardpackage::kManifestName),
          playerScript_(programDir + cardtext::kPlayerScriptName) {
        manifest_.WriteLine(cardpackage::kStartMarker);
    }

    // False when a missing file stopped the build (its message shown).
    bool Run(const std::string& outputPath) {
        s_.Progress.Progresse(10);
        if (!FindCardSize()) return Stop();
        s_.Progress.Progresse(20);
        playerScript_.WriteLine(std::to_string(width_));
        playerScript_.WriteLine(std::to_string(height_));

        const int rows = script_.RowCount();
        for (int r = 0; r < rows; ++r) {
            const CardEvent& event = script_.Row(r);
            const auto kind = event.Kind();
            if (!kind) continue;
            if (!PackEvent(r, *kind, event)) return Stop();
            s_.Progress.Progresse(((r + 1) * 70) / rows + 20);
        }

        playerScript_.Close();
        const std::string scriptName = cardtext::kPlayerScriptName;
        AddManifestEntry(scriptName);
        manifest_.WriteLine(cardpackage::kEndMarker);
        manifest_.Close();

        s_.Progress.Labl(buildtext::kCompacting);
        AssembleCard(outputPath, dir_, packed_, s_.Progress, s_.Files);
        return true;
    }

private:
    // The card takes the size of the first background's picture, as loaded (not reduced).
    bool FindCardSize() {
        for (int r = 0; r < script_.RowCount() && width_ == 0; ++r) {
            const CardEvent& event = script_.Row(r);
            if (event.Kind() != EventKind::Background) continue;
            const std::string& path = event.Cells[kColData];
            if (!s_.Files.Exists(path)) return Report(cardtext::PictureNotFound(path));
            const TPicture picture = s_.Pictures.Load(path);
            width_ = picture.Width;
            height_ = picture.Height;
        }
        return true;
    }

    bool PackEvent(int r, EventKind kind, const CardEvent& event) {
        const std::string n = std::to_string(r);
        const std::string& data = event.Cells[kColData];
        switch (kind) {
        case EventKind::OpenWindow:
            s_.Progress.Labl(buildtext::kSavingOpenWindow + n);
            break;
        case EventKind::Pause:
            s_.Progress.Labl(buildtext::kSavingPause + n);
            break;
        case EventKind::Music:
            if (!s_.Files.Exists(data)) return Report(buildtext::MidiNotFound(data));
            s_.Progress.Labl(buildtext::kSavingMidi + n);
            CopyMedia(data, playerscript::MusicFile(r));
            break;
        case EventKind::SoundEffect:
            if (!s_.Files.Exists(data)) return Report(buildtext::WavNotFound(data));
            s_.Progress.Labl(buildtext::kSavingWave + n);
            CopyMedia(data, playerscript::SoundFile(r));
            break;
        case EventKind::Background:
            s_.Progress.Labl(buildtext::kSavingBackground + n);
            WriteEventLine(event, r);
            manifest_.WriteLine(playerscript::BackgroundFile(r));
            if (!s_.Files.Exists(data)) return Report(cardtext::PictureNotFound(data));
            SaveBackground(data, r);
            return true;
        case EventKind::RestoreBackground:
            s_.Progress.Labl(buildtext::kSavingBackground + n);
            break;
        case EventKind::Text:
            if (!event.DataTexte || !event.TextImage) return Report(buildtext::TextWithoutImage(r));
            s_.Progress.Labl(buildtext::kSavingText + n);
            SavePacked(*event.TextImage, playerscript::TextFile(r));
            WriteEventLine(event, r);
            AddManifestEntry(playerscript::TextFile(r));
            return true;
        }
        WriteEventLine(event, r);
        if (kind == EventKind::Music) AddManifestEntry(playerscript::MusicFile(r));
        if (kind == EventKind::SoundEffect) AddManifestEntry(playerscript::SoundFile(r));
        return true;
    }

    void WriteEventLine(const CardEvent& event, int r) {
        playerScript_.WriteLine(*playerscript::EventLine(event, r, width_, height_));
    }

    void CopyMedia(const std::string& source, const std::string& name) {
        s_.Files.Copy(source, dir_ + name);
        tempFiles_.push_back(dir_ + name);
    }

    void SavePacked(TGifFile& gif, const std::string& name) {
        gif.SaveToFile(dir_ + name);
        tempFiles_.push_back(dir_ + name);
    }

    // The picture reduced to 256 colours unless it is a GIF already, indexed, saved as GIF.
    // The manifest's name line is written before, the size line after.
    void SaveBackground(const std::string& path, int r) {
        TPicture picture = s_.Pictures.Load(path);
        if (!IsGifPath(path)) picture = s_.Pictures.ReduceTo8Bits(picture);
        TColorTable colors;
        const TByteArray2D indices = BitmapToIndexed(picture.View(), colors);
        const int rows = script_.RowCount();
        s_.Progress.Progresse(int(std::nearbyint((r + 0.5) * 70.0 / rows)) + 20);
        TGifFile gif;
        gif.AddImage(colors, indices);
        SavePacked(gif, playerscript::BackgroundFile(r));
        WriteSizeLine(playerscript::BackgroundFile(r));
    }

    void AddManifestEntry(const std::string& name) {
        manifest_.WriteLine(name);
        WriteSizeLine(name);
    }

    void WriteSizeLine(const std::string& name) {
        manifest_.WriteLine(std::to_string(s_.Files.Size(dir_ + name)));
        packed_.push_back(name);
    }

    bool Report(const std::string& message) {
        s_.Messages.Information(message);
        return false;
    }

    // What was written so far stays readable in the program directory.
    bool Stop() {
        manifest_.Close();
        playerScript_.Close();
        return false;
    }

    const CardScript& script_;
    const std::string dir_;
    std::vector<std::string>& tempFiles_;
    const BuildServicesSet& s_;
    LineFile manifest_;
    LineFile playerScript_;
    std::vector<std::string> packed_;
    int32_t width_ = 0, height_ = 0;
};

} // namespace

bool BuildCard(const CardScript& script, const std::string& programDir, const std::string& outputPath,
               std::vector<std::string>& tempFiles, const BuildServicesSet& services) {
    bool created = false;
    {
        ProgressShown shown(services.Progress);
        CardBuilder builder(script, programDir, tempFiles, services);
        created = builder.Run(outputPath);
    }
    if (created) services.Messages.Information(buildtext::kSuccess);
    return created;
}
