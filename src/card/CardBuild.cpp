#include "CardBuild.h"

#include "AtomicFile.h"
#include "BuildTexts.h"
#include "CardAssembly.h"
#include "CardPackageFormat.h"
#include "PlayableMedia.h"
#include "PlayerScript.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// A working text file written line by line, every line ended by CR LF. It takes its name
// when closed, in place of whatever stood there.
class LineFile {
public:
    explicit LineFile(const std::string& path) : file_(path) {}
    void WriteLine(const std::string& line) {
        file_.Write(reinterpret_cast<const uint8_t*>(line.data()), line.size());
        file_.Write(reinterpret_cast<const uint8_t*>(cardpackage::kLineEnd), 2);
    }
    void Close() {
        if (closed_) return;
        closed_ = true;
        file_.GiveName();
    }

private:
    TUnnamedFile file_;
    bool closed_ = false;
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

// The user's card, not the program, stops the build: the notice says why.
struct BuildStopped {
    std::string Notice;
};

[[noreturn]] void StopWith(const std::string& notice) {
    throw BuildStopped{notice};
}

// The file of the build that a card saved as `output` would take the place of: the stub, the
// manifest, the player script, a packed file of one of the rows, or a file of an
// earlier build or placement still listed for clean-up. The places are compared, not the
// spellings, so that a link or a "../" cannot hide one.
std::optional<std::string> WorkingFileAt(const std::string& output, const CardScript& script,
                                         const std::string& stub, const std::string& dir,
                                         const std::vector<std::string>& tempFiles) {
    std::vector<std::string> working = tempFiles;
    working.push_back(stub);
    for (const char* name : {cardpackage::kManifestName, cardtext::kPlayerScriptName,
                             cardpackage::kPreviewName})
        working.push_back(dir + name);
    for (int r = 0; r < script.RowCount(); ++r)
        if (const auto kind = script.Row(r).Kind())
            if (const auto name = playerscript::PackedFile(*kind, r))
                working.push_back(dir + *name);
    const std::string place = PathWrittenBy(output);
    for (const std::string& path : working)
        if (WithResolvedFolder(path) == place) return path;
    return std::nullopt;
}

class CardBuilder {
public:
    CardBuilder(const CardScript& script, const std::string& stub, const std::string& programDir,
                std::vector<std::string>& tempFiles, const BuildServicesSet& services)
        : script_(script), stub_(stub), dir_(programDir), tempFiles_(tempFiles), s_(services),
          manifest_(Listed(cardpackage::kManifestName)),
          playerScript_(Listed(cardtext::kPlayerScriptName)) {
        manifest_.WriteLine(cardpackage::kStartMarker);
    }

    // False when the card stopped the build (its notice shown).
    bool Run(const std::string& outputPath) {
        try {
            Pack();
        } catch (const BuildStopped& stop) {
            // What was written so far stays readable in the program directory.
            s_.Messages.Information(stop.Notice);
            manifest_.Close();
            playerScript_.Close();
            return false;
        }
        s_.Progress.Labl(buildtext::kCompacting);
        AssembleCard(outputPath, stub_, dir_, packed_, s_.Progress, s_.Files);
        return true;
    }

private:
    void Pack() {
        s_.Progress.Progresse(10);
        FindCardSize();
        s_.Progress.Progresse(20);
        playerScript_.WriteLine(std::to_string(width_));
        playerScript_.WriteLine(std::to_string(height_));

        const int rows = script_.RowCount();
        for (int r = 0; r < rows; ++r) {
            const CardEvent& event = script_.Row(r);
            const auto kind = event.Kind();
            if (!kind) continue;
            PackEvent(r, *kind, event);
            s_.Progress.Progresse(((r + 1) * 70) / rows + 20);
        }

        playerScript_.Close();
        AddManifestEntry(cardtext::kPlayerScriptName, cardtext::kPlayerScriptName);
        manifest_.WriteLine(cardpackage::kEndMarker);
        manifest_.Close();
    }

    // The card takes the size of the first background's picture, as loaded (not reduced).
    void FindCardSize() {
        for (int r = 0; r < script_.RowCount() && width_ == 0; ++r) {
            const CardEvent& event = script_.Row(r);
            if (event.Kind() != EventKind::Background) continue;
            const std::string& path = event.Cells[kColData];
            if (!s_.Files.Exists(path)) StopWith(cardtext::PictureNotFound(path));
            const TPicture picture = s_.Pictures.Load(path);
            width_ = picture.Width;
            height_ = picture.Height;
        }
    }

    void PackEvent(int r, EventKind kind, const CardEvent& event) {
        const std::string n = std::to_string(r);
        const std::string& data = event.Cells[kColData];
        const std::string& timing = event.Cells[kColTiming];
        if (!playerscript::DurationMs(timing)) StopWith(buildtext::TimingTooLong(r, timing));
        switch (kind) {
        case EventKind::OpenWindow:
            s_.Progress.Labl(buildtext::kSavingOpenWindow + n);
            WriteEventLine(event, r);
            return;
        case EventKind::Pause:
            s_.Progress.Labl(buildtext::kSavingPause + n);
            WriteEventLine(event, r);
            return;
        case EventKind::Music:
            if (!s_.Files.Exists(data)) StopWith(buildtext::MidiNotFound(data));
            s_.Progress.Labl(buildtext::kSavingMidi + n);
            PackCopy(event, r, kind, playerscript::MusicFile(r));
            return;
        case EventKind::SoundEffect:
            if (!s_.Files.Exists(data)) StopWith(buildtext::WavNotFound(data));
            s_.Progress.Labl(buildtext::kSavingWave + n);
            PackCopy(event, r, kind, playerscript::SoundFile(r));
            return;
        case EventKind::Background:
            s_.Progress.Labl(buildtext::kSavingBackground + n);
            WriteEventLine(event, r);
            manifest_.WriteLine(playerscript::BackgroundFile(r));
            if (!s_.Files.Exists(data)) StopWith(cardtext::PictureNotFound(data));
            SaveBackground(data, r);
            return;
        case EventKind::RestoreBackground:
            s_.Progress.Labl(buildtext::kSavingBackground + n);
            WriteEventLine(event, r);
            return;
        case EventKind::Text:
            if (!event.DataTexte || !event.TextImage) StopWith(buildtext::TextWithoutImage(r));
            s_.Progress.Labl(buildtext::kSavingText + n);
            SavePacked(*event.TextImage, playerscript::TextFile(r));
            WriteEventLine(event, r);
            AddManifestEntry(playerscript::TextFile(r), playerscript::TextFile(r));
            return;
        }
    }

    void WriteEventLine(const CardEvent& event, int r) {
        playerScript_.WriteLine(*playerscript::EventLine(event, r, width_, height_));
    }

    // The copy of a WAV or MIDI file, byte for byte. One too large for the card, or one that
    // the card could not play, is refused before it is copied at all.
    void PackCopy(const CardEvent& event, int r, EventKind kind, const std::string& name) {
        const std::string& source = event.Cells[kColData];
        CheckPackable(s_.Files.Size(source), source);
        if (const auto notice = UnplayableMediaNotice(kind, source, r)) StopWith(*notice);
        s_.Files.Copy(source, Listed(name));
        WriteEventLine(event, r);
        AddManifestEntry(name, source);
    }

    void SavePacked(TGifFile& gif, const std::string& name) {
        TUnnamedFile file(Listed(name));
        const std::vector<uint8_t> bytes = gif.SaveToMemory();
        file.Write(bytes.data(), bytes.size());
        file.GiveName();
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
        WriteSizeLine(playerscript::BackgroundFile(r), path);
    }

    // `shown` names the packed file's source for the user.
    void AddManifestEntry(const std::string& name, const std::string& shown) {
        manifest_.WriteLine(name);
        WriteSizeLine(name, shown);
    }

    void WriteSizeLine(const std::string& name, const std::string& shown) {
        const int64_t size = s_.Files.Size(dir_ + name);
        CheckPackable(size, shown);
        manifest_.WriteLine(std::to_string(size));
        packed_.push_back(name);
    }

    static void CheckPackable(int64_t size, const std::string& shown) {
        if (uint64_t(size) > cardpackage::kMaxFileSize) StopWith(buildtext::FileTooLarge(shown));
    }

    // Every working file is listed for clean-up before it exists, so that however the build
    // ends, the files it made are found again.
    std::string Listed(const std::string& name) {
        tempFiles_.push_back(dir_ + name);
        return dir_ + name;
    }

    const CardScript& script_;
    const std::string& stub_;
    const std::string dir_;
    std::vector<std::string>& tempFiles_;
    const BuildServicesSet& s_;
    LineFile manifest_;
    LineFile playerScript_;
    std::vector<std::string> packed_;
    int32_t width_ = 0, height_ = 0;
};

} // namespace

namespace {
bool Build(const CardScript& script, const std::string& stub, const TWorkDirLock& workDir,
           const std::string& outputPath, std::vector<std::string>& tempFiles,
           const BuildServicesSet& services) {
    ProgressShown shown(services.Progress);
    CardBuilder builder(script, stub, workDir.Dir(), tempFiles, services);
    return builder.Run(outputPath);
}
} // namespace

bool BuildCard(const CardScript& script, const std::string& stub, const TWorkDirLock& workDir,
               const std::string& outputPath, std::vector<std::string>& tempFiles,
               const BuildServicesSet& services) {
    if (const auto working = WorkingFileAt(outputPath, script, stub, workDir.Dir(), tempFiles)) {
        services.Messages.Information(buildtext::OutputIsWorkingFile(outputPath, *working));
        return false;
    }
    const bool created = Build(script, stub, workDir, outputPath, tempFiles, services);
    if (created) services.Messages.Information(buildtext::kSuccess);
    return created;
}

std::optional<std::string> BuildPreviewCard(const CardScript& script, const std::string& stub,
                                            const TWorkDirLock& workDir,
                                            std::vector<std::string>& tempFiles,
                                            const BuildServicesSet& services) {
    const std::string card = workDir.Dir() + cardpackage::kPreviewName;
    if (std::find(tempFiles.begin(), tempFiles.end(), card) == tempFiles.end())
        tempFiles.push_back(card);
    if (!Build(script, stub, workDir, card, tempFiles, services)) return std::nullopt;
    return card;
}
