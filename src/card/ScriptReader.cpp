#include "ScriptReader.h"

#include "CardTexts.h"
#include "PlayerScript.h"
#include "ScriptFileTexts.h"
#include "ScriptLineReader.h"
#include "ScriptRecords.h"

#include <optional>

namespace {

class ScriptLoad {
public:
    ScriptLoad(TByteSource& source, CardScript& script, const std::string& programDir,
               std::vector<std::string>& tempFiles, const ScriptLoadServices& services)
        : in_(source), script_(script), programDir_(programDir), tempFiles_(tempFiles),
          services_(services) {}

    // Fills rows from 1 down; `row_` is the row being filled, which is the last one. The
    // answer is the notice that stopped the loading, if any.
    std::optional<std::string> Run() {
        script_.EmptyToHeader();
        for (row_ = 1; !in_.AtEnd(); ++row_) {
            if (row_ > scripttext::kMaxRows)
                throw EInOutError(scripttext::TooLarge(
                    "more than " + std::to_string(scripttext::kMaxRows) + " rows"));
            const std::string word = in_.ReadLine();
            if (const ScriptRecordLayout* layout = RecordLayoutOfWord(word)) {
                std::optional<std::string> stop = ReadRecord(*layout, script_.Row(row_));
                if (stop) return stop;
            }
            script_.AppendEmptyRow();
        }
        return std::nullopt;
    }

    // Whichever way the loading ended: the row being filled becomes the trailing row, and a
    // list without any event is the list of a new card.
    void PutInOrder() {
        script_.Row(row_) = CardEvent{};
        for (int r = 1; r < row_; ++r)
            if (!script_.Row(r).IsEmpty()) return;
        script_ = CardScript();
    }

private:
    std::optional<std::string> ReadRecord(const ScriptRecordLayout& layout, CardEvent& event) {
        event.Cells = layout.Restored;
        const bool text = layout.Kind == EventKind::Text;
        for (const CardColumn column : layout.Fields) {
            if (text && column == kColData) {
                event.Cells[column] = MessageOfLine(in_.ReadLine());
                in_.SkipLine(); // the empty line that the message's own CR made
            } else {
                event.Cells[column] = in_.ReadLine();
            }
        }
        if (!text) {
            if (layout.Kind == EventKind::Background &&
                event.Cells[kColData] != cardtext::kPrevious)
                background_ = row_;
            return std::nullopt;
        }
        event.DataTexte = ReadTextAttributes();
        return RenderTextImage(event);
    }

    std::unique_ptr<TDataTexte> ReadTextAttributes() {
        auto texte = std::make_unique<TDataTexte>();
        texte->X = in_.ReadNumber();
        texte->Y = in_.ReadNumber();
        texte->Font.Color = in_.ReadNumber();
        texte->Font.Size = in_.ReadNumber();
        texte->Font.Name = in_.ReadLine();
        texte->Font.Style.Bold = ReadFlag();
        texte->Font.Style.Italic = ReadFlag();
        texte->Font.Style.Underline = ReadFlag();
        texte->Font.Style.StrikeOut = ReadFlag();
        texte->Alignment = AlignmentOfWord(in_.ReadLine());
        texte->Shadow = ReadFlag();
        return texte;
    }
    bool ReadFlag() { return in_.ReadLine() == scripttext::kSet; }

    std::optional<std::string> RenderTextImage(CardEvent& event) {
        // The rows above were all read here, so the nearest background above is the last one
        // read: no walk up the list for each text.
        const std::string picture = background_ ? script_.Row(background_).Cells[kColData] : "";
        if (!background_ || !services_.Files.Exists(picture))
            return cardtext::PictureNotFound(picture);
        if (event.DataTexte->Font.Size > kMaxFontSize)
            return cardtext::FontTooLarge(row_, event.DataTexte->Font.Size);
        event.TextImage =
            services_.Renderer.Render(picture, event.Cells[kColData], *event.DataTexte);
        const TGifSubImage& image = *event.TextImage->Images.at(0);
        textPixels_ += int64_t(image.Width) * image.Height;
        if (textPixels_ > scripttext::kMaxTextImagePixels)
            throw EInOutError(scripttext::TooLarge("text images of more than " +
                                                   std::to_string(scripttext::kMaxTextImagePixels) +
                                                   " pixels in all"));
        tempFiles_.push_back(programDir_ + playerscript::TextFile(row_));
        return std::nullopt;
    }

    ScriptLineReader in_;
    CardScript& script_;
    const std::string& programDir_;
    std::vector<std::string>& tempFiles_;
    const ScriptLoadServices& services_;
    int row_ = 1;
    int background_ = 0; // the last Background row read that names a picture
    int64_t textPixels_ = 0;
};

} // namespace

bool LoadScript(TByteSource& source, CardScript& script, const std::string& programDir,
                std::vector<std::string>& tempFiles, const ScriptLoadServices& services) {
    ScriptLoad load(source, script, programDir, tempFiles, services);
    std::optional<std::string> stop;
    try {
        stop = load.Run();
    } catch (...) {
        load.PutInOrder();
        throw;
    }
    load.PutInOrder();
    if (!stop) return true;
    services.Messages.Information(*stop);
    return false;
}

bool LoadScriptFile(const std::string& path, CardScript& script, const std::string& programDir,
                    std::vector<std::string>& tempFiles, const ScriptLoadServices& services) {
    TFileSource source(path, TFileSource::RegularFilesAndPipes);
    return LoadScript(source, script, programDir, tempFiles, services);
}

bool LoadedAnyEvent(const CardScript& loaded) {
    // A load selects row 1, the first record; the list of a new card has its trailing row
    // selected.
    return loaded.CurrentRow() == 1;
}
