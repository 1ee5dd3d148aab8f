// The sound-effect and music editors over a fake host and fake media players: what they
// write, and that what they play never outlives them.

#include "BuildTexts.h"
#include "EditorsFixture.h"
#include "TinyMedia.h"

#include <QLineEdit>

#include <fstream>

namespace fs = std::filesystem;

namespace {

class AudioEditorsTest : public EditorsFixture {
protected:
    struct Twin {
        AudioEditor& Editor;
        FakeAudioPlayer& Player;
        const char* Kind;
        const char* First;  // two files the file list shows, whatever the case of their
        const char* Second; // extension
        const char* NoFile;
    };
    AudioEditorsTest() {
        fs::create_directories(dir_ / "sounds" / "more");
        for (const char* name : {"bell.wav", "chime.WAV"}) std::ofstream(Path(name)) << TinyWav(name);
        for (const char* name : {"tune.mid", "Song.MID"}) std::ofstream(Path(name)) << TinyMidi();
        std::ofstream(Path("notes.txt")) << "notes";
    }
    std::string Path(const char* name) { return (dir_ / "sounds" / name).string(); }
    std::vector<Twin> Twins() {
        return {{sound_, soundPlayer_, "Sound effect", "bell.wav", "chime.WAV",
                 editortext::kNoSoundFile},
                {music_, musicPlayer_, "Music", "Song.MID", "tune.mid", editortext::kNoMidiFile}};
    }
    QString FileName(const Twin& t) { return t.Editor.Browser->Edit1->text(); }
    // A new event in front of `row`; the trailing row of a new list unless told.
    void Insert(const Twin& t, int row = kFirstEventRow) { host_.OpenNew(t.Editor, row); }
    // Inserts, browses to the sounds and plays `file` with the test button.
    void InsertAndTest(const Twin& t, const char* file) {
        Insert(t);
        BrowseTo(*t.Editor.Browser, dir_ / "sounds");
        ClickFile(*t.Editor.Browser, file);
        Click(t.Editor.Button3);
        ASSERT_TRUE(t.Player.IsPlaying());
    }
};

TEST_F(AudioEditorsTest, EachTwinInsertsThenReplacesItsEventAndOpensOnTheStoredFile) {
    int row = kFirstEventRow;
    for (const Twin& t : Twins()) {
        SCOPED_TRACE(t.Kind);
        Insert(t, row);
        BrowseTo(*t.Editor.Browser, dir_ / "sounds");
        EXPECT_EQ(Files(*t.Editor.Browser), (QStringList{t.First, t.Second}));
        ClickFile(*t.Editor.Browser, t.First);
        EXPECT_EQ(FileName(t), t.First);
        EXPECT_EQ(t.Player.Calls, std::vector<std::string>{"SetFileName " + Path(t.First)});
        // Another folder keeps the file named in the box, and OK writes that file.
        BrowseTo(*t.Editor.Browser, dir_ / "sounds" / "more");
        EXPECT_EQ(FileName(t), t.First);
        Click(t.Editor.Button1);
        EXPECT_TRUE(dialogs_.Shown.empty());
        EXPECT_EQ(Rows()[row - 1], (EventCells{t.Kind, Path(t.First), "None", "None"}));
        EXPECT_TRUE(!t.Editor.isVisible() && host_.Window().isEnabled());

        host_.OpenOn(t.Editor, row);
        EXPECT_TRUE(t.Editor.isVisible());
        EXPECT_EQ(FileName(t), t.First);
        ClickFile(*t.Editor.Browser, t.Second);
        Click(t.Editor.Button1);
        EXPECT_EQ(Rows()[row - 1], (EventCells{t.Kind, Path(t.Second), "None", "None"}));
        EXPECT_EQ(Rows().size(), size_t(row + 1)) << "replaced, not inserted";
        Insert(t, row); // a new event starts with nothing named and nothing selected
        EXPECT_EQ(FileName(t), "");
        EXPECT_EQ(t.Editor.Browser->SelectedPath(), "");
        Click(t.Editor.Button1);
        EXPECT_EQ(dialogs_.Shown.back().Text, t.NoFile);
        Click(t.Editor.Button2);
        dialogs_.Shown.clear();
        ++row;
    }
}

// OK refuses, as the build does, a file that is not what the card would play.
TEST_F(AudioEditorsTest, OkRefusesAFileNoCardPlays) {
    fs::create_directories(dir_ / "odd");
    const std::string paths[] = {(dir_ / "odd" / "shadow.wav").string(),
                                 (dir_ / "odd" / "bell.mid").string()};
    std::ofstream(paths[0]) << "root:x:0:0:root:/root:/bin/bash\n";
    std::ofstream(paths[1]) << TinyWav("a sound");
    const std::vector<Twin> twins = Twins();
    for (size_t i = 0; i < 2; ++i) {
        Insert(twins[i]);
        BrowseTo(*twins[i].Editor.Browser, dir_ / "odd");
        ClickFile(*twins[i].Editor.Browser, fs::path(paths[i]).filename().c_str());
        Click(twins[i].Editor.Button1);
        ASSERT_EQ(dialogs_.Shown.size(), i + 1) << "no refusal";
        EXPECT_EQ(dialogs_.Shown.back().Text, i == 0 ? buildtext::NotAWavSound(paths[i], 2)
                                                     : buildtext::NotAMidiTune(paths[i], 2));
        EXPECT_TRUE(twins[i].Editor.isVisible() && Rows().size() == 2u);
        Click(twins[i].Editor.Button2);
    }
}

TEST_F(AudioEditorsTest, OkStopsThePlaybackAndTestStartsAgain) {
    const Twin sound = Twins()[0];
    InsertAndTest(sound, "bell.wav");
    Click(sound.Editor.Button3);
    EXPECT_TRUE(sound.Player.IsPlaying());
    Click(sound.Editor.Button1);
    EXPECT_FALSE(sound.Player.IsPlaying());
    EXPECT_TRUE(dialogs_.Shown.empty());
    const std::vector<std::string> restarts(sound.Player.Calls.end() - 7, sound.Player.Calls.end());
    const std::string set = "SetFileName " + Path("bell.wav");
    EXPECT_EQ(restarts,
              (std::vector<std::string>{set, "Open", "Play", set, "Open", "Play", "Stop"}));
}

TEST_F(AudioEditorsTest, CancelEscapeAndTheCloseBoxStopWhatPlays) {
    for (const Twin& t : Twins())
        for (const auto& way : std::vector<std::function<void()>>{
                 [&] { Click(t.Editor.Button2); },
                 [&] { QTest::keyClick(&t.Editor, Qt::Key_Escape); }, [&] { t.Editor.close(); }}) {
            SCOPED_TRACE(t.Kind);
            InsertAndTest(t, t.First);
            way();
            EXPECT_FALSE(t.Player.IsPlaying());
            EXPECT_TRUE(!t.Editor.isVisible() && host_.Window().isEnabled());
        }
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(AudioEditorsTest, TestPlaysOnlyASelectedFileAndReportsADeviceThatFails) {
    for (const Twin& t : Twins()) {
        SCOPED_TRACE(t.Kind);
        Insert(t);
        BrowseTo(*t.Editor.Browser, dir_ / "sounds" / "more");
        Click(t.Editor.Button3);
        EXPECT_TRUE(t.Player.Calls.empty());
        EXPECT_TRUE(dialogs_.Shown.empty());

        const char* busy = "ALSA: Couldn't open audio device: Device or resource busy";
        t.Player.OpenErrors[Path(t.First)] = busy;
        BrowseTo(*t.Editor.Browser, dir_ / "sounds");
        ClickFile(*t.Editor.Browser, t.First);
        Click(t.Editor.Button3);
        EXPECT_EQ(dialogs_.Shown, (std::vector<ShownBox>{{"Error", "", busy}}));
        EXPECT_FALSE(t.Player.IsPlaying());
        EXPECT_TRUE(t.Editor.isVisible() && !host_.Window().isEnabled());
        Click(t.Editor.Button2);
        dialogs_.Shown.clear();
    }
}

} // namespace
