// Taking changes of the card script back and making them again.

#include "ScriptHistory.h"
#include "BuildFakes.h"
#include "PendingText.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

const EventCells kPause = {"Pause", "None", "None", "2"};

// A Text row's two objects, as a placement makes them.
void Place(CardEvent& row, int x) {
    row.DataTexte = std::make_shared<TDataTexte>(TDataTexte{{}, taLeftJustify, false, x, 4});
    auto image = std::make_shared<TGifFile>();
    TColorTable two;
    InitColorTable(two, 2);
    TByteArray2D pixels(6, 3);
    pixels.Set(2, 2, 1);
    image->AddImage(two, pixels);
    row.TextImage = image;
}

// All that an undo must give back: each row's cells and very objects, the selection, the file.
using Rows = std::vector<std::tuple<EventCells, const TDataTexte*, const TGifFile*>>;
using State = std::tuple<Rows, int, ScriptFile>;

class ScriptHistoryTest : public ::testing::Test {
protected:
    // The window opening, a background, a placed text and a pause; the bar on the pause.
    ScriptHistoryTest() {
        for (const EventCells& cells : {EventCells{"Background", sky, "Blinds", "1"},
                                        EventCells{"Text", "Hi\r", "Mosaic", "2"}, kPause})
            script.WriteEventRow(script.RowCount() - 1, false, cells);
        Place(script.Row(3), 10);
        script.SetCurrentRow(4);
        file = {"card.vlm", script.Content()};
    }
    State Now() const {
        Rows rows;
        for (const CardEvent& e : script.Rows())
            rows.emplace_back(e.Cells, e.DataTexte.get(), e.TextImage.get());
        return {rows, script.CurrentRow(), file};
    }

    BuildBench bench;
    std::string sky = bench.AddPicture("sky.bmp", 40, 30);
    CardScript script;
    ScriptFile file;
    ScriptHistory history{script, file};
};

TEST_F(ScriptHistoryTest, EveryKindOfChangeGoesBackAndComesAgainExactly) {
    CardScript opened; // what an Open reads: another list, with a text of its own
    opened.WriteEventRow(2, false, {"Text", "Yo\r", "Blinds", "3"});
    Place(opened.Row(2), 20);
    const std::vector<std::pair<std::string, std::function<void(CardScript&)>>> changes = {
        {"Insert Pause", [](CardScript& s) { s.WriteEventRow(3, false, kPause); }},
        {"Insert Pause", [](CardScript& s) { s.WriteEventRow(5, false, kPause); }}, // appended
        {"Edit Text",
         [](CardScript& s) {
             s.WriteEventRow(3, true, {"Text", "Bye\r", "Blinds", "4"});
             Place(s.Row(3), 30);
         }},
        {"Edit Open window",
         [](CardScript& s) {
             s.WriteEventRow(1, true, {"Open window", "None", "Zoom", "7"});
         }},
        {"Delete", [](CardScript& s) { s.DeleteEvent(3); }},
        {"Clear All", [](CardScript& s) { s.ClearEvents(); }},
        {"Open",
         [&](CardScript& s) {
             s = opened;
             file = {"other.vlm", s.Content()};
         }},
    };
    for (const auto& [name, edit] : changes) {
        SCOPED_TRACE(name);
        const State before = Now();
        history.Change(name, edit);
        const State after = Now();
        ASSERT_NE(after, before);
        EXPECT_EQ(history.UndoName(), name);
        history.Undo();
        EXPECT_EQ(Now(), before);
        EXPECT_EQ(history.RedoName(), name);
        history.Redo();
        EXPECT_EQ(Now(), after);
        history.Undo(); // each change starts from the same list
    }
}

TEST_F(ScriptHistoryTest, ANewChangeAfterUndoDropsRedoButNothingChangedIsNoStep) {
    history.Change("Delete", [](CardScript& s) { s.DeleteEvent(3); });
    history.Undo();
    history.Change("Delete", [](CardScript& s) { s.DeleteEvent(5); }); // the trailing row
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.RedoName(), "Delete");
    history.Change("Insert Pause", [](CardScript& s) { s.WriteEventRow(2, false, kPause); });
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.RedoName(), "");
}

TEST_F(ScriptHistoryTest, AHundredStepsBackAndForth) {
    std::vector<State> states{Now()};
    for (int i = 0; i <= 100; ++i) {
        history.Change("Insert Pause", [i](CardScript& s) {
            s.WriteEventRow(2 + i % 3, false, {"Pause", "None", "None", std::to_string(i)});
        });
        states.push_back(Now());
    }
    // The first of the 101 steps is the one too many.
    for (int i = 0; i < 100; ++i)
        history.Undo();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(Now(), states[1]);
    for (int i = 0; i < 100; ++i)
        history.Redo();
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(Now(), states.back());
}

// A text is written in two stages, its cells and then its placement: one step, which its
// taking back leaves as if nothing had been done.
TEST_F(ScriptHistoryTest, ATextsPlacementContinuesTheStepOfItsCells) {
    const State start = Now();
    std::vector<std::string> tempFiles;
    const auto write = [&](const std::string& name, int row, bool editMode, bool placed) {
        // An edit keeps the row's cells: only its placement changes.
        const EventCells cells =
            editMode ? script.Row(row).Cells : EventCells{"Text", "New\r", "Blinds", "1"};
        std::optional<PendingText> pending;
        history.Change(
            name, [&](CardScript& s) { pending = PendingText::Write(s, row, editMode, cells); });
        history.Continue(name, [&](CardScript& s) {
            if (!placed) return pending->RollBack(s);
            CardEvent objects;
            Place(objects, 5);
            pending->Commit(s, std::make_unique<TDataTexte>(*objects.DataTexte),
                            std::make_unique<TGifFile>(), "/", tempFiles);
        });
    };
    write("Insert Text", 4, false, true);
    const State placed = Now();
    history.Undo();
    EXPECT_EQ(Now(), start);
    EXPECT_FALSE(history.CanUndo());
    history.Redo();
    EXPECT_EQ(Now(), placed);

    write("Insert Text", 4, false, false);
    EXPECT_EQ(Now(), placed);
    history.Undo();
    EXPECT_EQ(Now(), start) << "the taken-back text left no step";

    // The same cells written over themselves change nothing: the new objects are the step.
    write("Edit Text", 3, true, true);
    EXPECT_EQ(history.UndoName(), "Edit Text");
    history.Undo();
    EXPECT_EQ(Now(), start);
}

TEST_F(ScriptHistoryTest, ADeletedTextBroughtBackBuildsTheSameCard) {
    const std::string first = (bench.Root / "first.exe").string();
    ASSERT_TRUE(bench.Build(script, first));
    history.Change("Delete", [](CardScript& s) { s.DeleteEvent(3); });
    history.Undo();
    ASSERT_TRUE(bench.Build(script));
    EXPECT_EQ(ReadText(bench.Output()), ReadText(first));
}

} // namespace
