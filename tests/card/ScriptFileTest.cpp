// Card script files: the records as written, byte for byte, and as read back into the rows,
// the line and number rules of the reader, and how a load that stops leaves the list.

#include "AtomicFile.h"
#include "BoundedRun.h"
#include "BuildFakes.h"
#include "CardTexts.h"
#include "FakeTextRenderer.h"
#include "ScriptReader.h"
#include "ScriptWriter.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

const EventCells kOpening = {"Open window", "None", "Zoom", "1"};
const EventCells kSky = {"Background", "C:\\Cards\\sky.bmp", "Blinds", "2"};
const EventCells kGreeting = {"Text", "Happy\rBirthday\r", "Slide Down", "3"};
const EventCells kBell = {"Sound effect", "C:\\Cards\\bell.wav", "None", "None"};
const EventCells kPause = {"Pause", "None", "None", "5"};
const EventCells kRestore = {"Restore Background", "", "Zoom", "1"};
const EventCells kTune = {"Music", "C:\\Cards\\tune.mid", "None", "None"};

// At 40, 25; black; 8 points; MS Sans Serif; bold only; centred; with a shadow.
TDataTexte GreetingTexte() {
    TDataTexte t;
    t.Font = {"MS Sans Serif", 8, clBlack, {.Bold = true}};
    t.Alignment = taCenter;
    t.Shadow = true;
    t.X = 40;
    t.Y = 25;
    return t;
}

// The 32 lines of a card with one event of each kind; line 9 holds the message's own CR.
const std::string kExampleFile = "Open window\r\nZoom\r\n1\r\n"
                                 "Background\r\nC:\\Cards\\sky.bmp\r\nBlinds\r\n2\r\n"
                                 "Text\r\nHappy|Birthday\r\r\nSlide Down\r\n3\r\n"
                                 "40\r\n25\r\n0\r\n8\r\nMS Sans Serif\r\n1\r\n0\r\n0\r\n0\r\n"
                                 "Center\r\n1\r\n"
                                 "Sound effect\r\nC:\\Cards\\bell.wav\r\n"
                                 "Pause\r\n5\r\n"
                                 "Clear Text\r\nZoom\r\n1\r\n"
                                 "Music\r\nC:\\Cards\\tune.mid\r\n";

// The text row's fields after its message and cells, for records written by hand.
const std::string kGreetingAttributes =
    "40\r\n25\r\n0\r\n8\r\nMS Sans Serif\r\n1\r\n0\r\n0\r\n0\r\nCenter\r\n1\r\n";

void ExpectSameTexte(const TDataTexte& actual, const TDataTexte& expected) {
    EXPECT_EQ(actual.Font, expected.Font);
    EXPECT_EQ(actual.Alignment, expected.Alignment);
    EXPECT_EQ(actual.Shadow, expected.Shadow);
    EXPECT_EQ(actual.X, expected.X);
    EXPECT_EQ(actual.Y, expected.Y);
}

// A grid as the editors leave it: the events appended in order, each Text row placed.
CardScript Grid(const std::vector<EventCells>& events, const TDataTexte& texte = GreetingTexte()) {
    CardScript script;
    for (const EventCells& e : events) {
        if (e[kColKind] == cardtext::kOpenWindow) {
            script.WriteEventRow(1, /*editMode=*/true, e);
            continue;
        }
        const int row = script.CurrentRow();
        script.WriteEventRow(row, /*editMode=*/false, e);
        if (e[kColKind] == cardtext::kText) {
            script.Row(row).DataTexte = std::make_unique<TDataTexte>(texte);
            script.Row(row).TextImage = std::make_unique<TGifFile>();
        }
    }
    return script;
}

std::vector<EventCells> Rows(const CardScript& script) {
    std::vector<EventCells> rows;
    for (int r = 1; r < script.RowCount(); ++r)
        rows.push_back(script.Row(r).Cells);
    return rows;
}

// Pictures that are there, by path; the loader asks nothing else of the file system.
class ListedFiles final : public FileSystem {
public:
    std::set<std::string> Present;
    bool Exists(const std::string& path) override { return Present.count(path) > 0; }
    void Copy(const std::string&, const std::string&) override { ADD_FAILURE() << "copy"; }
    void Remove(const std::string&) override { ADD_FAILURE() << "remove"; }
    int64_t Size(const std::string&) override { return ADD_FAILURE() << "size", 0; }
};

// Gives its bytes, then fails as a broken disk would.
class FailingSource final : public TByteSource {
public:
    explicit FailingSource(std::string bytes) : bytes_(std::move(bytes)) {}
    size_t ReadSome(uint8_t* dest, size_t count) override {
        if (pos_ >= bytes_.size()) throw EInOutError(fileio::IoErrorMessage(5));
        count = std::min(count, bytes_.size() - pos_);
        std::copy_n(bytes_.data() + pos_, count, dest);
        pos_ += count;
        return count;
    }
    size_t Remaining() const override { return bytes_.size() - pos_ + 1000; }

private:
    std::string bytes_;
    size_t pos_ = 0;
};

class ScriptFileTest : public ::testing::Test {
protected:
    ScriptFileTest() { files.Present = {"C:\\Cards\\sky.bmp", "/cards/sea.gif"}; }

    bool Load(TByteSource& source) {
        return LoadScript(source, script, "/prog/", tempFiles, {renderer, messages, files});
    }
    bool Load(const std::string& text) {
        TMemorySource source(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
        return Load(source);
    }
    // The list a new card starts with: what a load that brought no event leaves.
    void ExpectNewCardList() {
        EXPECT_EQ(Rows(script), (std::vector<EventCells>{kOpening, {}}));
        EXPECT_EQ(script.CurrentRow(), 2);
    }

    CardScript script = Grid({kSky, kPause}); // what was there before each load
    FakeTextRenderer renderer;
    RecordingMessages messages;
    ListedFiles files;
    std::vector<std::string> tempFiles{"/prog/fond2.gif"};
};

TEST(ScriptFileWriter, StartUpListIsThreeLines) {
    EXPECT_EQ(ScriptFileText(CardScript()), "Open window\r\nZoom\r\n1\r\n");
}

TEST(ScriptFileWriter, ExampleCardIsWrittenByteForByte) {
    CardScript grid = Grid({kOpening, kSky, kGreeting, kBell, kPause, kRestore, kTune});
    EXPECT_EQ(ScriptFileText(grid), kExampleFile);
}

TEST(ScriptFileWriter, TextAttributesAlignmentWordsAndSignedNumbers) {
    TDataTexte t;
    t.Font = {"Arial Black", 14, clWindowText, {false, true, true, true}};
    t.X = -3;
    t.Y = 0;
    const std::string head =
        "Open window\r\nZoom\r\n1\r\nBackground\r\n/cards/sea.gif\r\nBlinds\r\n2\r\n"
        "Text\r\na|b|c\r\r\nMosaic\r\n7\r\n";
    const EventCells sea = {"Background", "/cards/sea.gif", "Blinds", "2"};
    const EventCells abc = {"Text", "a\rb\rc\r", "Mosaic", "7"};
    for (const auto& [alignment, word] :
         std::vector<std::pair<uint8_t, std::string>>{{taLeftJustify, "Left"},
                                                      {taRightJustify, "Right"},
                                                      {taCenter, "Center"},
                                                      {9, "Center"}}) {
        t.Alignment = alignment;
        EXPECT_EQ(ScriptFileText(Grid({sea, abc}, t)),
                  head + "-3\r\n0\r\n-2147483640\r\n14\r\nArial Black\r\n0\r\n1\r\n1\r\n1\r\n" +
                      word + "\r\n0\r\n");
    }
}

TEST(ScriptFileWriter, ARowWithACarriageReturnOrACtrlZIsRefusedAndNothingIsWritten) {
    const std::string card = testing::TempDir() + "refused.vlm";
    WriteFileAtomically(card, std::vector<uint8_t>{'o', 'l', 'd'});
    TDataTexte texte = GreetingTexte();
    for (const auto& [event, font, where] : {std::tuple{kTune, "Sans\rSerif", "font name of row 3"},
                                             {EventCells{"Background", "/a\rb.bmp", "Zoom", "2"}, "", "Data of row 4"},
                                             {EventCells{"Music", "/a\x1A.mid", "None", "None"}, "", "Data of row 4"},
                                             {EventCells{"Text", "Hi\x1A\r", "Zoom", "2"}, "", "Data of row 4"}}) {
        texte.Font.Name = font;
        try {
            SaveScriptFile(Grid({kSky, kGreeting, event}, texte), card);
        } catch (const EUnsavableScript& e) {
            EXPECT_EQ(e.what(), std::string("The script has not been saved: the ") + where +
                                    " holds a line break or a Ctrl-Z character, which a script file cannot hold.");
        }
        EXPECT_EQ(fileio::ReadFileBytes(card), (std::vector<uint8_t>{'o', 'l', 'd'}));
    }
    EXPECT_NO_THROW(ScriptFileText(Grid({{"Music", "/x\ny.mid", "None", "None"}}))) << "a lone LF reads back as it was";
}

TEST_F(ScriptFileTest, ExampleReadsBackIntoTheSameRowsAndAttributes) {
    ASSERT_TRUE(Load(kExampleFile));
    EXPECT_EQ(Rows(script), (std::vector<EventCells>{
                                kOpening, kSky, kGreeting, kBell, kPause, kRestore, kTune, {}}));
    EXPECT_EQ(script.CurrentRow(), 1);
    const CardEvent& text = script.Row(3);
    ASSERT_NE(text.DataTexte, nullptr);
    ExpectSameTexte(*text.DataTexte, GreetingTexte());
    ASSERT_NE(text.TextImage, nullptr);
    EXPECT_EQ(text.TextImage->Images.size(), 1u);
    ASSERT_EQ(renderer.Requests.size(), 1u);
    EXPECT_EQ(renderer.Requests[0].Picture, "C:\\Cards\\sky.bmp");
    EXPECT_EQ(renderer.Requests[0].Message, "Happy\rBirthday\r");
    ExpectSameTexte(renderer.Requests[0].Texte, GreetingTexte());
    EXPECT_EQ(tempFiles, (std::vector<std::string>{"/prog/fond2.gif", "/prog/Texte3.gif"}));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(ScriptFileText(script), kExampleFile); // and saves again to the same bytes
}

TEST_F(ScriptFileTest, BarInAMessageComesBackAsALineBreak) {
    CardScript grid = Grid({kSky, {"Text", "50|50\rchance\r", "Blinds", "4"}});
    ASSERT_TRUE(Load(ScriptFileText(grid)));
    EXPECT_EQ(script.Row(3).Cells[kColData], "50\r50\rchance\r");
    EXPECT_EQ(script.Row(3).Cells[kColTiming], "4");
}

TEST_F(ScriptFileTest, EmptyMessageReadsBackEmptyAndTheRecordsAfterItStayInPlace) {
    const EventCells silent = {"Text", "", "Blinds", "4"};
    CardScript grid = Grid({kSky, silent, kPause});
    const std::string file = ScriptFileText(grid);
    EXPECT_NE(file.find("Text\r\n\r\r\nBlinds\r\n4\r\n40\r\n"), std::string::npos);

    ASSERT_TRUE(Load(file));
    EXPECT_EQ(Rows(script), (std::vector<EventCells>{kOpening, kSky, silent, kPause, {}}));
    ExpectSameTexte(*script.Row(3).DataTexte, GreetingTexte());
    EXPECT_EQ(ScriptFileText(script), file);
}

TEST_F(ScriptFileTest, CellsAKindDoesNotWriteAreRestored) {
    ASSERT_TRUE(Load("Sound effect\r\n/a.wav\r\nMusic\r\n/b.mid\r\nPause\r\n9\r\n"
                     "Clear Text\r\nUnfold\r\n8\r\nOpen window\r\nSlide down\r\n3\r\n"));
    EXPECT_EQ(Rows(script), (std::vector<EventCells>{{"Sound effect", "/a.wav", "None", "None"},
                                                     {"Music", "/b.mid", "None", "None"},
                                                     {"Pause", "None", "None", "9"},
                                                     {"Restore Background", "", "Unfold", "8"},
                                                     {"Open window", "None", "Slide down", "3"},
                                                     {}}));
}

TEST_F(ScriptFileTest, CarriageReturnEndsALineAndLineFeedsAndCtrlZDoNot) {
    // CR alone ends a line; of CR LF LF only the first LF goes with the line end; a lone LF is
    // part of the text; Ctrl-Z ends the file.
    ASSERT_TRUE(Load("Pause\r4\r\n\nMusic\r\nMusic\r\n/x\ny.mid\rPause\r\n2\x1APause\r\n3\r\n"));
    EXPECT_EQ(Rows(script), (std::vector<EventCells>{{"Pause", "None", "None", "4"},
                                                     {}, // the kind word "\nMusic"
                                                     {"Music", "/x\ny.mid", "None", "None"},
                                                     {"Pause", "None", "None", "2"},
                                                     {}}));
}

TEST_F(ScriptFileTest, LineFeedOnlyFileLoadsNothing) {
    ASSERT_TRUE(Load("Open window\nZoom\n1\nPause\n5\n"));
    ExpectNewCardList();
}

TEST_F(ScriptFileTest, UnknownKindWordsLeaveEmptyRowsThatSavingSkips) {
    ASSERT_TRUE(Load("Open window\r\nZoom\r\n1\r\nSparkles\r\n\r\npause\r\nPause\r\n5\r\n"));
    EXPECT_EQ(Rows(script), (std::vector<EventCells>{kOpening, {}, {}, {}, kPause, {}}));
    EXPECT_EQ(ScriptFileText(script), "Open window\r\nZoom\r\n1\r\nPause\r\n5\r\n");
}

TEST_F(ScriptFileTest, NumbersSkipBlanksAndEmptyLinesAndTheRestOfTheirLine) {
    ASSERT_TRUE(Load("Background\r\n/cards/sea.gif\r\nBlinds\r\n2\r\n"
                     "Text\r\nHi\r\r\nMosaic\r\n1\r\n"
                     "\r\n \t-2147483648 px\r\n+2147483647\r\n\r\n-7\r\n12 \r\nCourier\r\n"
                     "1 \r\nyes\r\n\r\n1\r\nLEFT\r\ntrue\r\n"));
    const TDataTexte& t = *script.Row(2).DataTexte;
    EXPECT_EQ(t.X, INT32_MIN);
    EXPECT_EQ(t.Y, INT32_MAX);
    EXPECT_EQ(t.Font.Color, -7);
    EXPECT_EQ(t.Font.Size, 12);
    EXPECT_EQ(t.Font.Name, "Courier");
    // Only a line of exactly "1" sets a style or the shadow; only "Left" and "Right" are not
    // centred.
    EXPECT_EQ(t.Font.Style, (TFontStyles{false, false, false, true}));
    EXPECT_EQ(t.Alignment, taCenter);
    EXPECT_FALSE(t.Shadow);
}

TEST_F(ScriptFileTest, AtTheEndOfTheFileNumbersReadZeroAndLinesEmpty) {
    ASSERT_TRUE(Load("Background\r\n/cards/sea.gif\r\nBlinds\r\n2\r\nText\r\nHi\r\r\nMosaic"));
    EXPECT_EQ(Rows(script),
              (std::vector<EventCells>{{"Background", "/cards/sea.gif", "Blinds", "2"},
                                       {"Text", "Hi\r", "Mosaic", ""},
                                       {}}));
    const TDataTexte& t = *script.Row(2).DataTexte;
    EXPECT_EQ(t.X, 0);
    EXPECT_EQ(t.Font.Size, 0);
    EXPECT_EQ(t.Font.Name, "");
    EXPECT_EQ(t.Alignment, taCenter);
    EXPECT_EQ(renderer.Requests.size(), 1u);
}

TEST_F(ScriptFileTest, NumberFieldThatIsNotANumberStopsWithInvalidNumericInput) {
    const std::string before = kExampleFile.substr(0, kExampleFile.find("Text\r\n"));
    for (const std::string bad :
         {"4O", "x", "-", "1e3", "2147483648", "-2147483649", "99999999999999999999"}) {
        SCOPED_TRACE(bad);
        script = Grid({kSky, kPause});
        try {
            Load(before + "Text\r\nHi\r\r\nMosaic\r\n1\r\n" + bad + "\r\n25\r\n");
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            EXPECT_STREQ(e.what(), "Invalid numeric input");
        }
        // The rows read before stay; the unfinished text row is dropped.
        EXPECT_EQ(Rows(script), (std::vector<EventCells>{kOpening, kSky, {}}));
    }
    EXPECT_TRUE(renderer.Requests.empty());
}

TEST_F(ScriptFileTest, MissingPictureStopsTheLoadingAndDropsTheUnfinishedRow) {
    files.Present.erase("C:\\Cards\\sky.bmp"); // the picture was moved
    EXPECT_FALSE(Load(kExampleFile));
    EXPECT_EQ(messages.Shown,
              std::vector<std::string>{"The picture 'C:\\Cards\\sky.bmp' has not been found."});
    EXPECT_EQ(Rows(script), (std::vector<EventCells>{kOpening, kSky, {}}));
    EXPECT_EQ(script.Row(3).DataTexte, nullptr);
    EXPECT_TRUE(renderer.Requests.empty());
    EXPECT_EQ(tempFiles, std::vector<std::string>{"/prog/fond2.gif"});
}

TEST_F(ScriptFileTest, TextWithoutABackgroundAboveNamesNoPicture) {
    // A "Previous" background names no picture, and one below the text does not count.
    EXPECT_FALSE(Load("Open window\r\nZoom\r\n1\r\nBackground\r\nPrevious\r\nBlinds\r\n2\r\n"
                      "Text\r\nHi\r\r\nMosaic\r\n1\r\n" +
                      kGreetingAttributes + "Background\r\n/cards/sea.gif\r\nBlinds\r\n2\r\n"));
    EXPECT_EQ(messages.Shown, std::vector<std::string>{"The picture '' has not been found."});
    EXPECT_EQ(Rows(script),
              (std::vector<EventCells>{kOpening, {"Background", "Previous", "Blinds", "2"}, {}}));
}

TEST_F(ScriptFileTest, ReadErrorOrRendererErrorInsideARecordKeepTheRowsBefore) {
    FailingSource source(kExampleFile.substr(0, kExampleFile.find("Pause") + 7)); // "Pause\r\n"
    EXPECT_THROW(Load(source), EInOutError);
    EXPECT_EQ(Rows(script), (std::vector<EventCells>{kOpening, kSky, kGreeting, kBell, {}}));
    EXPECT_NE(script.Row(3).TextImage, nullptr);

    renderer.FailWith = "Unknown picture file extension (.bmp)";
    EXPECT_THROW(Load(kExampleFile), EInvalidGraphic);
    EXPECT_EQ(Rows(script), (std::vector<EventCells>{kOpening, kSky, {}}));
    EXPECT_EQ(tempFiles, (std::vector<std::string>{"/prog/fond2.gif", "/prog/Texte3.gif"}));
}

TEST_F(ScriptFileTest, AFontTooLargeForAnyPictureStopsTheLoading) {
    const std::string text = "Background\r\n/cards/sea.gif\r\nZoom\r\n2\r\nText\r\nHi\r\r\nZoom\r\n1\r\n0\r\n0\r\n0\r\n";
    EXPECT_TRUE(Load(text + "1000\r\n"));
    EXPECT_FALSE(Load(text + "1001\r\n"));
    EXPECT_EQ(messages.Shown, std::vector<std::string>{"The text of row 2 has a font size of 1001 points, "
                                                       "more than the 1000 a card can show."});
}

TEST_F(ScriptFileTest, HostileScriptsCostBoundedTimeAndMemory) {
    // Text images of 8192 x 8192, 10 MB of blank lines and a 10 MB line are refused early;
    // 50,000 texts on one background are read in linear time (each text's background is not
    // looked for up the whole list).
    std::string texts = "Background\r\n/cards/sea.gif\r\nZoom\r\n2\r\n";
    for (int i = 0; i < 50'000; ++i) texts += "Text\r\nHi\r\r\nZoom\r\n1\r\n" + kGreetingAttributes;
    const auto tooLarge = [this](const std::string& text) {
        try {
            Load(text);
        } catch (const EInOutError& e) {
            return std::string_view(e.what()).starts_with("This card script is too large to load");
        }
        return false;
    };
    long growth = 0;
    EXPECT_TRUE(RunBounded([&] { return renderer.Side = 8192, tooLarge(texts); }, 20, 64, growth)) << growth;
    renderer.Side = 1;
    EXPECT_TRUE(RunBounded([&] { return tooLarge(std::string(10 << 20, '\r')); }, 20, 64, growth)) << growth;
    EXPECT_TRUE(RunBounded([&] { return tooLarge(std::string(10 << 20, 'x')); }, 20, 64, growth)) << growth;
    EXPECT_TRUE(RunBounded([&] { return Load(texts) && script.RowCount() == 50'003; }, 20, 400, growth)) << growth;
}

TEST_F(ScriptFileTest, LoadThatBringsNoEventLeavesTheListOfANewCard) {
    ASSERT_TRUE(Load(""));
    ExpectNewCardList();

    script = Grid({kSky, kPause});
    EXPECT_FALSE(Load("Text\r\nHi\r\r\nMosaic\r\n1\r\n" + kGreetingAttributes));
    ExpectNewCardList();

    // A file that cannot be opened is no load at all: the list stays.
    script = Grid({kSky, kPause});
    EXPECT_THROW(LoadScriptFile("/nonexistent/card.vlm", script, "/prog/", tempFiles,
                                {renderer, messages, files}),
                 EInOutError);
    EXPECT_EQ(script.RowCount(), 5);
}

} // namespace
