// Any bytes given to the script reader end in a list in order, read whole or stopped by a
// notice or a clean exception: no crash, no hang, no unbounded memory. "In order" is checked:
// the header first, the trailing empty row last, both objects on every Text row, the window
// opening back when no event was read. What was read also saves and reads back to the same
// events.
#include "CardTexts.h"
#include "FakeTextRenderer.h"
#include "ScriptReader.h"
#include "ScriptWriter.h"

#include <cstdlib>

namespace {

// Pictures are there or not by the length of their path, so that both ways are easy to reach.
class EvenPathsExist final : public FileSystem {
public:
    bool Exists(const std::string& path) override { return !path.empty() && path.size() % 2 == 0; }
    void Copy(const std::string&, const std::string&) override { std::abort(); }
    void Remove(const std::string&) override { std::abort(); }
    int64_t Size(const std::string&) override { std::abort(); }
};

class Ignored final : public InformationSink {
public:
    void Information(const std::string&) override {}
};

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckInOrder(const CardScript& script) {
    Check(script.RowCount() >= 3);
    Check(script.Row(0).Cells[kColKind] == cardtext::kHeaderKind);
    Check(script.Row(script.RowCount() - 1).Cells == EventCells{});
    bool anyEvent = false;
    for (int r = 1; r < script.RowCount(); ++r) {
        const CardEvent& e = script.Row(r);
        anyEvent = anyEvent || !e.IsEmpty();
        Check(e.Kind() == EventKind::Text ? e.DataTexte && e.TextImage
                                          : !e.DataTexte && !e.TextImage);
    }
    Check(anyEvent);
}

// The rows that hold events, with what a Text row keeps beside its cells; saving leaves the
// empty rows out.
std::vector<std::string> Events(const CardScript& script) {
    std::vector<std::string> events;
    for (int r = 1; r < script.RowCount(); ++r) {
        const CardEvent& e = script.Row(r);
        if (e.IsEmpty()) continue;
        std::string line;
        for (const std::string& cell : e.Cells)
            line += cell + '\t';
        if (const TDataTexte* t = e.DataTexte.get())
            line += t->Font.Name + '\t' + std::to_string(t->Font.Size) + '\t' +
                    std::to_string(t->Font.Color) + '\t' + std::to_string(t->X) + '\t' +
                    std::to_string(t->Y) + '\t' + std::to_string(t->Alignment) +
                    (t->Shadow ? "S" : "") + (t->Font.Style.Bold ? "B" : "") +
                    (t->Font.Style.Italic ? "I" : "") + (t->Font.Style.Underline ? "U" : "") +
                    (t->Font.Style.StrikeOut ? "K" : "");
        events.push_back(line);
    }
    return events;
}

bool Load(std::span<const uint8_t> bytes, CardScript& script) {
    TMemorySource source(bytes);
    FakeTextRenderer renderer;
    Ignored messages;
    EvenPathsExist files;
    std::vector<std::string> tempFiles;
    try {
        LoadScript(source, script, "/prog/", tempFiles, {renderer, messages, files});
    } catch (const EInOutError&) {
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CardScript script;
    Load(std::span(data, size), script);
    CheckInOrder(script);

    const std::string saved = ScriptFileText(script);
    CardScript again;
    Check(Load(std::span(reinterpret_cast<const uint8_t*>(saved.data()), saved.size()), again));
    CheckInOrder(again);
    Check(Events(again) == Events(script));
    return 0;
}
