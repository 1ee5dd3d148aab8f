// The player script read as a timeline: what each line is, when it starts, how long it lasts,
// the window's size, and the lines this player refuses.

#include "CardTimeline.h"

#include <gtest/gtest.h>

namespace {

TCardTimeline Parse(const std::string& lines) {
    return ParsePlayerScript(lines);
}

TEST(CardTimeline, EveryKindOfLineTakesItsTimeInTurn) {
    // What the builder writes for a card with one event of each kind.
    const TCardTimeline t = Parse("320\r\n200\r\ns1: :1000,320,200\r\nt5:fond2.gif:3000\r\n"
                                  "a3:Texte3.gif:2000,40,25\r\nWave:Wave4.wav\r\nWait:2000\r\n"
                                  "Midi:Midi6.mid\r\nt11:%:1000\r\n");
    EXPECT_EQ(t.Width, 320);
    EXPECT_EQ(t.Height, 200);
    EXPECT_EQ(t.End, 9000);
    struct Expected {
        TStepKind kind;
        TEffect effect;
        const char* file;
        int64_t start, duration;
    };
    const std::vector<Expected> expected = {
        {TStepKind::OpenWindow, TEffect::OpenZoom, "", 0, 1000},
        {TStepKind::Background, TEffect::Blinds, "fond2.gif", 1000, 3000},
        {TStepKind::Text, TEffect::SlideLeft, "Texte3.gif", 4000, 2000},
        {TStepKind::Sound, TEffect::None, "Wave4.wav", 6000, 0},
        {TStepKind::Wait, TEffect::None, "", 6000, 2000},
        {TStepKind::Music, TEffect::None, "Midi6.mid", 8000, 0},
        {TStepKind::RestoreBackground, TEffect::Zoom, "", 8000, 1000},
    };
    ASSERT_EQ(t.Steps.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const TTimelineStep& s = t.Steps[i];
        EXPECT_EQ(s.Line, int(i) + 3);
        EXPECT_EQ(s.Kind, expected[i].kind);
        EXPECT_EQ(s.Effect, expected[i].effect);
        EXPECT_EQ(s.File, expected[i].file);
        EXPECT_EQ(s.Start, expected[i].start);
        EXPECT_EQ(s.Duration, expected[i].duration);
        EXPECT_EQ(s.DrawTime, s.Effect == TEffect::None ? 0 : s.Duration);
    }
    EXPECT_EQ(t.Steps[2].X, 40);
    EXPECT_EQ(t.Steps[2].Y, 25);
}

TEST(CardTimeline, TransitionsNoListHoldsShowAtOnceButKeepTheirTime) {
    const TCardTimeline t =
        Parse("8\r\n8\r\ns-1: :500,8,8\r\ns4: :500,8,8\r\nt0:a.gif:500\r\n"
              "t13:a.gif:500\r\na7:b.gif:500,0,0\r\na-99999999999:b.gif:500,0,0\r\n"
              "t3:a.gif:-2000\n"); // a bare LF and a negative duration
    ASSERT_EQ(t.Steps.size(), 7u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(t.Steps[i].Effect, TEffect::None) << i;
        EXPECT_EQ(t.Steps[i].DrawTime, 0) << i;
        EXPECT_EQ(t.Steps[i].Start, int64_t(i) * 500) << i;
    }
    EXPECT_EQ(t.Steps[6].Effect, TEffect::ScrollLeft);
    EXPECT_EQ(t.Steps[6].Duration, 0);
    EXPECT_EQ(t.End, 3000);
}

TEST(CardTimeline, TheWindowTakesTheOpeningLinesSizeAndNeverNone) {
    const struct {
        const char* script;
        int32_t width, height;
    } cases[] = {
        {"320\r\n200\r\ns0: :0,320,200\r\n", 320, 200},
        {"320\r\n200\r\n", 320, 200},              // no opening line: the size lines
        {"0\r\n0\r\ns1: :1000,0,0\r\n", 320, 240}, // no background: a small window
        {"640\r\n0\r\n", 320, 240},
        {"1\r\n1\r\ns0: :0,8192,16\r\ns0: :0,5,5\r\n", 8192, 16}, // the first opening counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const TCardTimeline t = Parse(c.script);
        EXPECT_EQ(t.Width, c.width);
        EXPECT_EQ(t.Height, c.height);
    }
}

TEST(CardTimeline, RefusesWhatTheBuilderNeverWritesNamingTheLine) {
    const std::string longName(3'000'000, 'n');
    const struct {
        std::string script;
        std::string message;
    } cases[] = {
        {"", "Player script: the card's width and height lines are missing"},
        {"320\r\n", "the card's width and height lines are missing"},
        {"x\r\n200\r\n", "Player script line 1 \"x\": the width is not a whole number"},
        {"320\r\n8193\r\n", "line 2 \"8193\": the height 8193 is out of range"},
        {"1\r\n1\r\n\r\n", "line 3 \"\": not a line of a player script"},
        {"1\r\n1\r\nWait:1s\r\n", "line 3 \"Wait:1s\": the duration is not a whole number"},
        {"1\r\n1\r\nWait:2147483648000\r\n", "the duration 2147483648000 is out of range"},
        {"1\r\n1\r\ns1:1000,1,1\r\n", "expected ' :' after the transition number"},
        {"1\r\n1\r\ns1: :1000,1\r\n", "expected 3 numbers separated by commas"},
        {"1\r\n1\r\nsx: :1000,1,1\r\n", "the transition is not a whole number"},
        {"1\r\n1\r\nt1:fond2.gif\r\n", "no ':' after the file name"},
        {"1\r\n1\r\nt1:3000\r\n", "no ':' after the file name"},
        {"1\r\n1\r\nt1::3000\r\n", "no file name"},
        {"1\r\n1\r\na1:T.gif:1,2,3,4\r\n", "Y is not a whole number"},
        {"1\r\n1\r\na1:T.gif:1,2,2147483648\r\n", "Y 2147483648 is out of range"},
        {"1\r\n1\r\nWave:\r\n", "no file name"},
        {"1\r\n1\r\nMidi:" + longName + "\r\n",
         "line 3 \"Midi:" + longName.substr(0, 35) + "...\": a file name longer than 255 bytes"},
        {"1\r\n1\r\nWait:\x01\xff\r\n", "line 3 \"Wait:??\": the duration is not"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script.substr(0, 60));
        try {
            Parse(c.script);
            ADD_FAILURE() << "accepted";
        } catch (const EPlayerScriptError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_LT(std::string(e.what()).size(), 200u);
        }
    }
}

TEST(CardTimeline, ACardOfEndlessWaitsIsRefusedBeforeItsTimeOverflows) {
    std::string script = "1\r\n1\r\n";
    for (int i = 0; i < 600'000; ++i)
        script += "Wait:2147483647000\r\n";
    EXPECT_THROW(Parse(script), EPlayerScriptError);
}

} // namespace
