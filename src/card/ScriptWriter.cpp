#include "ScriptWriter.h"

#include "AtomicFile.h"
#include "CardTexts.h"
#include "ScriptFileTexts.h"
#include "ScriptRecords.h"

#include <cstdint>
#include <span>

namespace {

class RecordWriter {
public:
    explicit RecordWriter(std::string& out) : out_(out) {}

    // A CR would end the line early and a Ctrl-Z the file, and the records after it would be
    // lost (a lone LF reads back as it was); such a text is refused.
    void Line(std::string_view text, const char* field) {
        Check(text, field);
        out_ += text;
        out_ += scripttext::kLineEnd;
    }
    void Line(std::string_view text) { Line(text, ""); }
    void Number(int32_t value) { Line(std::to_string(value)); }
    void Flag(bool set) { Line(set ? scripttext::kSet : scripttext::kNotSet); }

    // The message's lines joined by "|", then the CR that ends a stored message, then the
    // line end: CR CR LF on disk, which the reader takes as the message line and an empty
    // line it steps over. The CR is written whatever the message holds, so that an empty
    // message too is followed by its empty line and the record's later lines stay in place.
    void Message(std::string_view message) {
        const std::string line = MessageLine(message);
        Check(line, kColumnNames[kColData]);
        out_ += line;
        out_ += scripttext::kCR;
        out_ += scripttext::kLineEnd;
    }

    // X, Y, font colour, font size, font name, the four styles, alignment word, shadow.
    void TextAttributes(const TDataTexte& texte) {
        Number(texte.X);
        Number(texte.Y);
        Number(texte.Font.Color);
        Number(texte.Font.Size);
        Line(texte.Font.Name, scripttext::kFontNameField);
        Flag(texte.Font.Style.Bold);
        Flag(texte.Font.Style.Italic);
        Flag(texte.Font.Style.Underline);
        Flag(texte.Font.Style.StrikeOut);
        Line(AlignmentWord(texte.Alignment));
        Flag(texte.Shadow);
    }

    void Record(const CardEvent& event, int row) {
        const std::optional<EventKind> kind = event.Kind();
        if (!kind) return;
        row_ = row;
        const ScriptRecordLayout& layout = RecordLayout(*kind);
        Line(layout.Word);
        for (const CardColumn column : layout.Fields) {
            if (*kind == EventKind::Text && column == kColData)
                Message(event.Cells[column]);
            else
                Line(event.Cells[column], kColumnNames[column]);
        }
        // A Text row always has its attributes once placed; one that has not been placed yet
        // is saved with those of a new text rather than refused.
        if (*kind == EventKind::Text)
            TextAttributes(event.DataTexte ? *event.DataTexte : TDataTexte{});
    }

private:
    void Check(std::string_view text, const char* field) const {
        if (text.find_first_of(kUnwritable) != std::string_view::npos)
            throw EUnsavableScript(scripttext::Unsavable(field, row_));
    }

    static constexpr char kUnwritable[] = {scripttext::kCR, scripttext::kEndOfFile, '\0'};
    static constexpr const char* kColumnNames[kCardColumnCount] = {
        cardtext::kHeaderKind, cardtext::kHeaderData, cardtext::kHeaderTransition,
        cardtext::kHeaderTiming};
    std::string& out_;
    int row_ = 0;
};

} // namespace

std::string ScriptFileText(const CardScript& script) {
    std::string text;
    RecordWriter writer(text);
    for (int r = 0; r < script.RowCount(); ++r)
        writer.Record(script.Row(r), r);
    return text;
}

void SaveScriptFile(const CardScript& script, const std::string& path) {
    const std::string text = ScriptFileText(script);
    WriteFileAtomically(path,
                        std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}
