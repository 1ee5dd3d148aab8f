// The card script: row layout, inserting and replacing, deleting, clearing, the background
// lookup, and the objects of Text rows travelling with their rows.

#include "CardScript.h"
#include "CardTexts.h"
#include "PendingText.h"
#include "TextMessage.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

EventCells Background(const std::string& path) {
    return {cardtext::kBackground, path, "Blinds", "3"};
}
EventCells Pause(const std::string& seconds) {
    return {cardtext::kPause, "None", "None", seconds};
}
EventCells Text(const std::string& message) {
    return {cardtext::kText, message, "Mosaic", "2"};
}

// Inserts at the current row, as the chooser and an editor do with the selected row.
void InsertAtSelection(CardScript& script, const EventCells& cells) {
    script.WriteEventRow(script.CurrentRow(), /*editMode=*/false, cells);
}

// Gives a Text row its two objects, as the placement step does.
std::pair<const TDataTexte*, TGifFile*> AttachObjects(CardScript& script, int row) {
    CardEvent& e = script.Row(row);
    e.DataTexte = std::make_unique<TDataTexte>();
    e.TextImage = std::make_unique<TGifFile>();
    return {e.DataTexte.get(), e.TextImage.get()};
}

std::vector<std::string> KindColumn(const CardScript& script) {
    std::vector<std::string> kinds;
    for (int r = 0; r < script.RowCount(); ++r)
        kinds.push_back(script.Row(r).Cells[kColKind]);
    return kinds;
}

// Header, window opening, then the given events, then the trailing empty row; the selection
// ends on the trailing row.
CardScript ScriptWith(const std::vector<EventCells>& events) {
    CardScript script;
    for (const EventCells& e : events)
        InsertAtSelection(script, e);
    return script;
}

TEST(CardScript, StartsWithHeaderWindowOpeningAndTrailingEmptyRow) {
    const CardScript script;
    ASSERT_EQ(script.RowCount(), 3);
    EXPECT_EQ(script.Row(0).Cells, (EventCells{"Effects Type", "Data", "Transition", "Timing"}));
    EXPECT_EQ(script.Row(1).Cells, (EventCells{"Open window", "None", "Zoom", "1"}));
    EXPECT_EQ(script.Row(2).Cells, EventCells{});
    EXPECT_EQ(script.CurrentRow(), 2);
    EXPECT_FALSE(script.Row(0).Kind().has_value());
    EXPECT_EQ(script.Row(1).Kind(), EventKind::OpenWindow);
}

TEST(CardScript, InsertAtTrailingRowAppendsAndSelectsTheNewTrailingRow) {
    CardScript script;
    InsertAtSelection(script, Background("/cards/sky.bmp"));
    ASSERT_EQ(script.RowCount(), 4);
    EXPECT_EQ(script.Row(2).Cells, Background("/cards/sky.bmp"));
    EXPECT_TRUE(script.Row(3).IsEmpty());
    EXPECT_EQ(script.CurrentRow(), 3);

    InsertAtSelection(script, Pause("5"));
    EXPECT_EQ(KindColumn(script),
              (std::vector<std::string>{"Effects Type", "Open window", "Background", "Pause", ""}));
    EXPECT_EQ(script.CurrentRow(), 4);
}

TEST(CardScript, InsertAtEventRowMovesThatRowAndTheRestDownWithTheirObjects) {
    CardScript script = ScriptWith({Background("/a.bmp"), Text("Hi\r"), Pause("4")});
    const auto [data, image] = AttachObjects(script, 3);

    script.SetCurrentRow(3); // the Text row
    InsertAtSelection(script, Background("/b.gif"));

    EXPECT_EQ(KindColumn(script),
              (std::vector<std::string>{"Effects Type", "Open window", "Background", "Background",
                                        "Text", "Pause", ""}));
    EXPECT_EQ(script.Row(3).Cells[kColData], "/b.gif");
    EXPECT_EQ(script.Row(3).DataTexte, nullptr); // the new row has no objects of its own
    EXPECT_EQ(script.Row(4).DataTexte.get(), data);
    EXPECT_EQ(script.Row(4).TextImage.get(), image);
    EXPECT_EQ(script.Row(4).Cells, Text("Hi\r"));
    EXPECT_EQ(script.CurrentRow(), 4); // still on the Text event
}

TEST(CardScript, ReplaceChangesCellsInPlaceAndKeepsCountSelectionAndObjects) {
    CardScript script = ScriptWith({Background("/a.bmp"), Text("Hi\r")});
    const auto [data, image] = AttachObjects(script, 3);
    script.SetCurrentRow(3);

    script.WriteEventRow(3, /*editMode=*/true, Text("Happy\rBirthday\r"));
    EXPECT_EQ(script.RowCount(), 5);
    EXPECT_EQ(script.CurrentRow(), 3);
    EXPECT_EQ(script.Row(3).Cells, Text("Happy\rBirthday\r"));
    EXPECT_EQ(script.Row(3).DataTexte.get(), data);
    EXPECT_EQ(script.Row(3).TextImage.get(), image);

    // The window opening is replaced the same way, in row 1.
    script.WriteEventRow(1, true, {cardtext::kOpenWindow, "None", "Slide right", "9"});
    EXPECT_EQ(script.Row(1).Cells[kColTransition], "Slide right");
    EXPECT_EQ(script.RowCount(), 5);
}

TEST(CardScript, NoEventIsWrittenOverTheHeaderOrPastTheLastRow) {
    CardScript script;
    EXPECT_THROW(script.WriteEventRow(0, true, Pause("1")), std::out_of_range);
    EXPECT_THROW(script.WriteEventRow(3, false, Pause("1")), std::out_of_range);
    EXPECT_EQ(script.Row(0).Cells[kColKind], "Effects Type");
    EXPECT_EQ(script.RowCount(), 3);
}

TEST(CardScript, DeleteAboveATextRowKeepsItsObjectsWithIt) {
    CardScript script = ScriptWith({Background("/a.bmp"), Pause("2"), Text("Hi\r")});
    const auto [data, image] = AttachObjects(script, 4);
    script.SetCurrentRow(3);

    ASSERT_TRUE(script.DeleteEvent(3));
    EXPECT_EQ(KindColumn(script),
              (std::vector<std::string>{"Effects Type", "Open window", "Background", "Text", ""}));
    EXPECT_EQ(script.Row(3).DataTexte.get(), data);
    EXPECT_EQ(script.Row(3).TextImage.get(), image);
    EXPECT_EQ(script.CurrentRow(), 3); // same row number, now the event that followed
}

TEST(CardScript, SelectionKeepsItsRowNumberUntilTheGridShrinksBelowIt) {
    CardScript script = ScriptWith({Background("/a.bmp"), Pause("2"), Pause("3")});
    script.SetCurrentRow(4); // the last event
    ASSERT_TRUE(script.DeleteEvent(4));
    EXPECT_EQ(script.CurrentRow(), 4);
    EXPECT_TRUE(script.Row(4).IsEmpty()); // now the trailing row

    ASSERT_TRUE(script.DeleteEvent(2)); // above the selection, which was the last row
    EXPECT_EQ(script.RowCount(), 4);
    EXPECT_EQ(script.CurrentRow(), 3);
}

TEST(CardScript, DeleteLeavesEmptyRowsAndRefusesTheFixedRows) {
    CardScript script = ScriptWith({Pause("2")});
    EXPECT_FALSE(script.DeleteEvent(3)); // the trailing empty row
    EXPECT_EQ(script.RowCount(), 4);
    EXPECT_THROW(script.DeleteEvent(1), std::out_of_range);
    EXPECT_THROW(script.DeleteEvent(0), std::out_of_range);
    EXPECT_EQ(script.Row(1).Kind(), EventKind::OpenWindow);
}

TEST(CardScript, ClearEventsKeepsTheWindowOpeningAsTheUserSetIt) {
    CardScript script = ScriptWith({Background("/a.bmp"), Text("Hi\r"), Pause("2")});
    AttachObjects(script, 3);
    script.WriteEventRow(1, true, {cardtext::kOpenWindow, "None", "Slide down", "7"});

    script.ClearEvents();
    ASSERT_EQ(script.RowCount(), 3);
    EXPECT_EQ(script.Row(1).Cells, (EventCells{"Open window", "None", "Slide down", "7"}));
    EXPECT_TRUE(script.Row(2).IsEmpty());
    EXPECT_EQ(script.Row(2).DataTexte, nullptr);
    EXPECT_EQ(script.CurrentRow(), 2);

    script.ClearEvents(); // nothing left to clear
    EXPECT_EQ(script.RowCount(), 3);
    script.SetCurrentRow(0); // the header is a fixed row
    EXPECT_EQ(script.CurrentRow(), 1);
    script.ClearEvents(); // a selection above the cleared rows stays
    EXPECT_EQ(script.CurrentRow(), 1);
}

TEST(CardScript, EmptyToHeaderLeavesOneEmptyRowToFill) {
    CardScript script = ScriptWith({Background("/a.bmp"), Text("Hi\r")});
    AttachObjects(script, 3);
    script.EmptyToHeader();
    ASSERT_EQ(script.RowCount(), 2);
    EXPECT_EQ(script.Row(0).Cells[kColKind], "Effects Type");
    EXPECT_TRUE(script.Row(1).IsEmpty());
    EXPECT_EQ(script.CurrentRow(), 1);

    script.Row(1).Cells = Pause("3");
    script.AppendEmptyRow(); // the filled row is followed by a new trailing row
    EXPECT_EQ(KindColumn(script), (std::vector<std::string>{"Effects Type", "Pause", ""}));
    EXPECT_EQ(script.Row(2).DataTexte, nullptr);
    EXPECT_EQ(script.CurrentRow(), 1);
}

TEST(CardScript, FindBackgroundAboveTakesTheNearestPictureAbove) {
    CardScript script = ScriptWith({Background("/far.bmp"), Pause("1"), Background("/near.gif"),
                                    Text("Hi\r"), Background("/below.bmp")});
    // rows: 2 far, 3 pause, 4 near, 5 text, 6 below, 7 trailing
    EXPECT_EQ(script.FindBackgroundAbove(5), 4);
    EXPECT_EQ(script.FindBackgroundAbove(4), 2); // a row is not above itself
    EXPECT_EQ(script.FindBackgroundAbove(3), 2);
    EXPECT_EQ(script.FindBackgroundAbove(2), 0);
    EXPECT_EQ(script.FindBackgroundAbove(7), 6);
}

TEST(CardScript, FindBackgroundAbovePassesOverPrevious) {
    CardScript script = ScriptWith({Background("Previous"), Text("Hi\r")});
    EXPECT_EQ(script.FindBackgroundAbove(3), 0);

    CardScript withPicture = ScriptWith({Background("/a.bmp"), Background("Previous"), Pause("1")});
    EXPECT_EQ(withPicture.FindBackgroundAbove(4), 2);
    // Only the exact word is reserved.
    CardScript lookalike = ScriptWith({Background("previous"), Pause("1")});
    EXPECT_EQ(lookalike.FindBackgroundAbove(3), 2);
}

TEST(CardScript, FindBackgroundAboveMatchesTheKindLabelExactly) {
    CardScript script = ScriptWith({{"background", "/a.bmp", "Blinds", "1"},
                                    {"Background ", "/b.bmp", "Blinds", "1"},
                                    Pause("1")});
    EXPECT_EQ(script.FindBackgroundAbove(4), 0);
}

TEST(EventKind, LabelsAreMatchedWholeAndCaseSensitive) {
    for (int k = 0; k < kEventKindCount; ++k) {
        const auto kind = static_cast<EventKind>(k);
        EXPECT_EQ(KindOfLabel(KindLabel(kind)), kind) << KindLabel(kind);
    }
    EXPECT_EQ(KindLabel(EventKind::RestoreBackground), "Restore Background");
    EXPECT_EQ(KindLabel(EventKind::SoundEffect), "Sound effect");
    for (const char* notAKind : {"text", "Text ", " Text", "TEXT", "Clear Text", "Sound Effect",
                                 "Open Window", "Effects Type", ""})
        EXPECT_FALSE(KindOfLabel(notAKind).has_value()) << '"' << notAKind << '"';
}

// ---- A Text event between its editor and its placement ----

// Every row's cells and objects, and the selection.
using Snapshot = std::pair<std::vector<std::tuple<EventCells, const void*, const void*>>, int>;
Snapshot Snap(const CardScript& script) {
    Snapshot s{{}, script.CurrentRow()};
    for (int r = 0; r < script.RowCount(); ++r)
        s.first.emplace_back(script.Row(r).Cells, script.Row(r).DataTexte.get(),
                             script.Row(r).TextImage.get());
    return s;
}

TEST(PendingText, TakenBackTheScriptIsAsItWasWhereverItWasWritten) {
    const struct {
        int row;
        bool edit;
    } cases[] = {{5, false}, {3, false}, {4, false}, {3, true}};
    for (const auto& c : cases) {
        // A text with its objects, then an empty row that a script file left above the
        // trailing one: an insert above it pushes no row out of the list.
        CardScript script = ScriptWith({Background("/a.bmp"), Text("Hi\r")});
        AttachObjects(script, 3);
        script.AppendEmptyRow();
        script.SetCurrentRow(c.row);
        const Snapshot before = Snap(script);
        const PendingText pending = PendingText::Write(script, c.row, c.edit, Text("New\r"));
        EXPECT_EQ(script.Row(c.row).Cells, Text("New\r"));
        pending.RollBack(script);
        EXPECT_EQ(Snap(script), before) << c.row << (c.edit ? " replaced" : " inserted");
    }
}

TEST(TextMessage, LinesEachEndWithACarriageReturnAndComeBackAsTheyWere) {
    const struct {
        const char* text;    // as a text box holds it
        const char* message; // as the Data cell holds it
        const char* shown;   // the box filled from the message
    } cases[] = {
        {"", "", ""},
        {"Happy\nBirthday", "Happy\rBirthday\r", "Happy\nBirthday"},
        {"Happy\nBirthday\n", "Happy\rBirthday\r", "Happy\nBirthday"},
        {"Happy\n\n", "Happy\r\r", "Happy\n\n"}, // an empty line that counts
        {"a\r\nb\rc", "a\rb\rc\r", "a\nb\nc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOfText(c.text), c.message) << c.text;
        EXPECT_EQ(TextOfMessage(c.message), c.shown) << c.text;
        EXPECT_EQ(MessageOfText(TextOfMessage(c.message)), c.message) << c.text;
    }
    EXPECT_EQ(TextOfMessage("no end"), "no end") << "a line without its CR still shows";
}

} // namespace
