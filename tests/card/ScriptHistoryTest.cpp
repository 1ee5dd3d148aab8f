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
    row.TextImage = std::make_shared<TGifFile>();
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

// A text's placement ends the step that wrote its cells: taken back, it leaves no step;
// placed again over the same cells, its new objects are the step.
TEST_F(ScriptHistoryTest, ATextsPlacementEndsTheStepOfItsCells) {
    const State start = Now();
    for (const bool placed : {false, true}) {
        const EventCells cells =
            placed ? script.Row(3).Cells : EventCells{"Text", "New\r", "", "1"};
        std::optional<PendingText> pending;
        history.Change("Edit Text",
                       [&](CardScript& s) { pending = PendingText::Write(s, 3, true, cells); });
        history.Continue("Edit Text", [&](CardScript& s) {
            placed ? Place(s.Row(3), 5) : pending->RollBack(s);
        });
    }
    EXPECT_EQ(history.UndoName(), "Edit Text");
    history.Undo();
    EXPECT_EQ(Now(), start);
    EXPECT_FALSE(history.CanUndo()) << "the text taken back left no step";
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
