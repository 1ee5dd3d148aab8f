// Standard MIDI Files (formats 0, 1 and 2) read into one list of channel messages timed in
// microseconds through the file's tempo map. System exclusive and meta events other than tempo
// and end of track are skipped.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct MidiMessage {
    uint64_t Micros = 0; // from the start of the song
    uint8_t Status = 0;  // 0x80 to 0xEF: the kind in the high four bits, the channel in the low
    uint8_t Data1 = 0, Data2 = 0;
};

struct MidiSong {
    std::vector<MidiMessage> Messages; // by time; messages at the same time keep the file's order
    uint64_t LengthMicros = 0;         // time of the last event, ends of tracks included
};

// Bounds that keep a hostile file from costing unbounded time or memory. Events later than
// kMaxSongMicros are dropped and the song ends there; a file with more than kMaxMidiMessages
// channel messages is refused.
inline constexpr uint64_t kMaxSongMicros = 3600ull * 1000000;
inline constexpr size_t kMaxMidiMessages = 2'000'000;

// Throws EAudioFormat, with the reason, for a file that is not a MIDI file or breaks its layout.
MidiSong ReadMidiFile(std::span<const uint8_t> file);
