#include "MidiFile.h"
#include "AudioError.h"
#include "MidiBuilder.h"

#include <gtest/gtest.h>

#include <chrono>

using midibuild::Track;

namespace {

using Bytes = std::vector<uint8_t>;

// "MThd", length 6, format, track count, division; then raw chunks.
Bytes Header(uint16_t format, uint16_t tracks, uint16_t division) {
    Bytes out;
    midibuild::Chunk(out, "MThd",
                     {uint8_t(format >> 8), uint8_t(format), uint8_t(tracks >> 8), uint8_t(tracks),
                      uint8_t(division >> 8), uint8_t(division)});
    return out;
}

// A format 0 file of one track chunk holding exactly `body`.
Bytes OneTrack(const Bytes& body, uint16_t division = 96) {
    Bytes out = Header(0, 1, division);
    midibuild::Chunk(out, "MTrk", body);
    return out;
}

std::vector<uint64_t> NoteOnTimes(const MidiSong& song) {
    std::vector<uint64_t> times;
    for (const MidiMessage& m : song.Messages)
        if ((m.Status & 0xF0) == 0x90) times.push_back(m.Micros);
    return times;
}

TEST(MidiFile, TempoChangesInAnyTrackTimeEveryTrack) {
    // 96 ticks a quarter note: 120 beats a minute, then 240 from tick 192 (set in the conductor
    // track), then 60 from tick 384 (set in the second track).
    Track conductor, first, second;
    conductor.Tempo(0, 500000).Tempo(192, 250000);
    second.Tempo(384, 1000000);
    for (uint32_t tick : {0, 96, 192, 288})
        first.Note(tick, 10, 0, 60);
    for (uint32_t tick : {384, 480})
        second.Note(tick, 10, 1, 64);
    const MidiSong song = ReadMidiFile(midibuild::File(1, 96, {conductor, first, second}));
    EXPECT_EQ(NoteOnTimes(song),
              (std::vector<uint64_t>{0, 500000, 1000000, 1250000, 1500000, 2500000}));
    EXPECT_EQ(song.LengthMicros, 2604167u) << "the last note off, 10 ticks of 1/96 s later";
    for (size_t i = 1; i < song.Messages.size(); ++i)
        EXPECT_LE(song.Messages[i - 1].Micros, song.Messages[i].Micros);
}

TEST(MidiFile, SmpteDivisionCountsTicksOfFrames) {
    // 25 frames a second, 40 ticks a frame: a millisecond a tick, whatever the tempo says.
    Track t;
    t.Tempo(0, 250000).Note(0, 10, 0, 60).Note(1500, 10, 0, 62);
    EXPECT_EQ(NoteOnTimes(ReadMidiFile(midibuild::File(0, 0xE728, {t}))),
              (std::vector<uint64_t>{0, 1500000}));
    // 29 means 29.97 frames a second (drop frame): 30 ticks a frame are 1001/30000 s.
    EXPECT_EQ(NoteOnTimes(ReadMidiFile(midibuild::File(0, 0xE31E, {t})))[1], 1500000u * 1001 / 900);
}

TEST(MidiFile, FormatTwoPlaysItsPatternsOneAfterAnother) {
    Track a, b;
    a.Tempo(0, 1000000).Note(0, 96, 0, 60); // one second long at its own tempo
    b.Note(0, 96, 0, 62);                   // half a second at the default tempo
    const MidiSong song = ReadMidiFile(midibuild::File(2, 96, {a, b}));
    EXPECT_EQ(NoteOnTimes(song), (std::vector<uint64_t>{0, 1000000}));
    EXPECT_EQ(song.LengthMicros, 1500000u);
}

TEST(MidiFile, RunningStatusSysExAndMetaEvents) {
    const MidiSong song = ReadMidiFile(OneTrack({
        0x00, 0x90, 0x3C, 0x64,             // note on
        0x00, 0x40, 0x64,                   // running status: another note on
        0x00, 0xF0, 0x03, 0x7E, 0x09, 0xF7, // system exclusive, skipped
        0x00, 0xFF, 0x03, 0x02, 'H',  'i',  // track name, skipped
        0x60, 0x3C, 0x00,                   // running status still: note on, velocity 0
        0x00, 0xC5, 0x10,                   // program change, one data byte
        0x00, 0xFF, 0x2F, 0x00,             // end of track
        0x00, 0x90, 0x3C, 0x64,             // after the end: ignored
    }));
    ASSERT_EQ(song.Messages.size(), 4u);
    EXPECT_EQ(song.Messages[1].Data1, 0x40);
    EXPECT_EQ(song.Messages[2].Status, 0x90);
    EXPECT_EQ(song.Messages[2].Micros, 500000u);
    EXPECT_EQ(song.Messages[3].Status, 0xC5);
    EXPECT_EQ(song.Messages[3].Data1, 0x10);
}

struct Hostile {
    const char* Name;
    Bytes File;
    const char* Reason; // part of the error's message
};

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(MidiFile, RefusesDamagedFilesSayingWhy) {
    const Bytes note{0x00, 0x90, 0x3C, 0x64};
    const Hostile cases[] = {
        {"empty", {}, "not a MIDI file"},
        {"RIFF", {'R', 'I', 'F', 'F', 0, 0, 0, 0}, "not a MIDI file"},
        {"2 GB header",
         {'M', 'T', 'h', 'd', 0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1, 0, 96},
         "header runs past the end"},
        {"short header", {'M', 'T', 'h', 'd', 0, 0, 0, 2, 0, 0}, "shorter than 6 bytes"},
        {"format 3", Concat(Header(3, 1, 96), {}), "format is 3"},
        {"no tracks", Header(1, 0, 96), "no tracks"},
        {"only other chunks", Concat(Header(1, 1, 96), {'X', 'Y', 'Z', 'W', 0, 0, 0, 1, 0}),
         "no tracks"},
        {"division 0", OneTrack(note, 0), "division is 0"},
        {"23 frames a second", OneTrack(note, 0xE928), "23 frames a second"},
        {"no ticks a frame", OneTrack(note, 0xE700), "no ticks a frame"},
        {"five-byte delta", OneTrack({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 0x3C, 0x64}),
         "longer than four bytes"},
        {"data before status", OneTrack({0x00, 0x3C, 0x64}),
         "data byte where an event should start"},
        {"event cut short", OneTrack({0x00, 0x90, 0x3C}), "middle of an event"},
        {"meta past the track", OneTrack({0x00, 0xFF, 0x01, 0x7F, 'a'}), "middle of an event"},
        {"sysex past the track", OneTrack({0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F}),
         "middle of an event"},
        {"system message", OneTrack({0x00, 0xF2, 0x00, 0x00}), "system message"},
        {"status as data", OneTrack({0x00, 0x90, 0x3C, 0x90}), "0x90"},
    };
    for (const Hostile& c : cases) {
        try {
            ReadMidiFile(c.File);
            ADD_FAILURE() << c.Name << ": read without error";
        } catch (const EAudioFormat& e) {
            EXPECT_NE(std::string(e.what()).find(c.Reason), std::string::npos)
                << c.Name << ": " << e.what();
        }
    }
}

TEST(MidiFile, BoundsWhatItCanPlay) {
    // A track whose length says 2 GB but whose file ends after one note: the note plays.
    Bytes file = Header(0, 1, 96);
    file.insert(file.end(), {'M', 'T', 'r', 'k', 0x80, 0, 0, 0, 0x00, 0x90, 0x3C, 0x64});
    EXPECT_EQ(ReadMidiFile(file).Messages.size(), 1u);

    // Endless delta times: 100000 events each 2^28 - 1 ticks apart at the slowest tempo and one
    // tick a quarter note, some ten thousand years. It reads at once, stopping at an hour.
    Bytes body{0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF, 0x00, 0x90, 0x3C, 0x64};
    for (int i = 0; i < 100000; ++i)
        body.insert(body.end(), {0xFF, 0xFF, 0xFF, 0x7F, 0x3C, 0x64});
    const auto start = std::chrono::steady_clock::now();
    const MidiSong endless = ReadMidiFile(OneTrack(body, 1));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(endless.LengthMicros, kMaxSongMicros);
    EXPECT_EQ(endless.Messages.size(), 1u) << "only the note at 0 lies within the hour";

    // More events than any tune needs: two bytes each (delta 0, running status), refused.
    Bytes many{0x00, 0xC0, 0x00};
    many.reserve(2 * kMaxMidiMessages + 8);
    for (size_t i = 0; i < kMaxMidiMessages; ++i)
        many.insert(many.end(), {0x00, 0x01});
    EXPECT_THROW(ReadMidiFile(OneTrack(many)), EAudioFormat);
}

} // namespace
