#include "MidiFile.h"

#include "AudioError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr uint32_t kDefaultTempo = 500000; // microseconds a quarter note: 120 beats a minute
constexpr uint8_t kSysEx = 0xF0, kSysExContinued = 0xF7, kMetaEvent = 0xFF;
constexpr uint8_t kMetaEndOfTrack = 0x2F, kMetaTempo = 0x51;
constexpr uint16_t kSmpteDivision = 0x8000;
constexpr int kMaxVarLenBytes = 4;

[[noreturn]] void Damaged(const std::string& why) {
    throw EAudioFormat("The MIDI file is damaged: " + why + ".");
}

// Reads forward through a span and never past it: running out is an error naming `what`.
class Cursor {
  public:
    Cursor(std::span<const uint8_t> bytes, const char* what) : bytes_(bytes), what_(what) {}
    bool AtEnd() const { return pos_ == bytes_.size(); }
    size_t Left() const { return bytes_.size() - pos_; }
    uint8_t Peek() const {
        Need(1);
        return bytes_[pos_];
    }
    uint8_t Byte() {
        Need(1);
        return bytes_[pos_++];
    }
    uint32_t BigEndian(int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v = (v << 8) | Byte();
        return v;
    }
    // Seven bits a byte, most significant first; the top bit marks a byte that is not the last.
    uint32_t VarLen() {
        uint32_t v = 0;
        for (int i = 0; i < kMaxVarLenBytes; ++i) {
            const uint8_t b = Byte();
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        Damaged("a number in a track is longer than four bytes");
    }
    std::span<const uint8_t> Take(size_t count) {
        Need(count);
        const auto part = bytes_.subspan(pos_, count);
        pos_ += count;
        return part;
    }

  private:
    void Need(size_t count) const {
        if (count > Left()) Damaged(what_);
    }
    std::span<const uint8_t> bytes_;
    const char* what_;
    size_t pos_ = 0;
};

struct TempoChange {
    uint64_t Tick;
    uint32_t MicrosPerQuarter;
};

// A track's channel messages carry their tick in `Micros` until the clock converts them.
struct Track {
    std::vector<MidiMessage> Messages;
    std::vector<TempoChange> Tempos;
    uint64_t EndTick = 0;
};

int DataBytes(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

uint8_t DataByte(Cursor& in) {
    const uint8_t b = in.Byte();
    if (b & 0x80) {
        char hex[5];
        std::snprintf(hex, sizeof hex, "0x%02X", b);
        Damaged(std::string("an event's data byte is ") + hex + ", above 0x7F");
    }
    return b;
}

// One track chunk's events: delta time (variable length), then a channel message (status
// byte, or none to repeat the last one, then one or two data bytes), a system exclusive
// (F0 or F7, length, bytes) or a meta event (FF, type, length, bytes).
Track ReadTrack(std::span<const uint8_t> body, size_t& messageCount) {
    Cursor in(body, "a track ends in the middle of an event");
    Track track;
    uint64_t tick = 0;
    uint8_t running = 0;
    while (!in.AtEnd()) {
        tick += in.VarLen();
        track.EndTick = tick;
        uint8_t status = in.Peek();
        if (status & 0x80)
            in.Byte();
        else if (running == 0)
            Damaged("a track has a data byte where an event should start");
        else
            status = running;

        if (status == kMetaEvent) {
            const uint8_t type = in.Byte();
            const auto data = in.Take(in.VarLen());
            if (type == kMetaEndOfTrack) break;
            if (type == kMetaTempo && data.size() >= 3) {
                const uint32_t tempo = uint32_t(data[0]) << 16 | uint32_t(data[1]) << 8 | data[2];
                if (tempo > 0) track.Tempos.push_back({tick, tempo});
            }
        } else if (status == kSysEx || status == kSysExContinued) {
            in.Take(in.VarLen());
        } else if (status > kSysEx) {
            Damaged("a track holds a system message, which files cannot carry");
        } else {
            // Running status survives meta and system exclusive events: some writers rely on it,
            // and a file that does not finds a status byte there anyway.
            running = status;
            MidiMessage m{tick, status, DataByte(in), 0};
            if (DataBytes(status) == 2) m.Data2 = DataByte(in);
            if (++messageCount > kMaxMidiMessages)
                Damaged("it holds more than " + std::to_string(kMaxMidiMessages) + " events");
            track.Messages.push_back(m);
        }
    }
    return track;
}

// Ticks to microseconds, walked forward through the tempo changes. With SMPTE division the
// ticks are fixed fractions of a second and tempo changes do not apply.
class Clock {
  public:
    Clock(uint16_t division, std::span<const TempoChange> tempos) : tempos_(tempos) {
        if (division & kSmpteDivision) {
            const int framesPerSecond = -int(int8_t(division >> 8));
            const int ticksPerFrame = division & 0xFF;
            if (framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 &&
                framesPerSecond != 30)
                Damaged("its SMPTE time division has " + std::to_string(framesPerSecond) +
                        " frames a second");
            if (ticksPerFrame == 0) Damaged("its SMPTE time division has no ticks a frame");
            // 29 stands for 30 drop-frame, 29.97 frames a second.
            const double fps = framesPerSecond == 29 ? 30000.0 / 1001.0 : framesPerSecond;
            microsPerTick_ = 1e6 / (fps * ticksPerFrame);
            tempos_ = {};
        } else {
            if (division == 0) Damaged("its time division is 0 ticks a quarter note");
            ticksPerQuarter_ = division;
            microsPerTick_ = double(kDefaultTempo) / ticksPerQuarter_;
        }
    }

    // Ticks must come in increasing order.
    double Micros(uint64_t tick) {
        while (next_ < tempos_.size() && tempos_[next_].Tick <= tick) {
            segmentMicros_ += double(tempos_[next_].Tick - segmentTick_) * microsPerTick_;
            segmentTick_ = tempos_[next_].Tick;
            microsPerTick_ = double(tempos_[next_].MicrosPerQuarter) / ticksPerQuarter_;
            ++next_;
        }
        return segmentMicros_ + double(tick - segmentTick_) * microsPerTick_;
    }

  private:
    std::span<const TempoChange> tempos_;
    size_t next_ = 0;
    double ticksPerQuarter_ = 1, microsPerTick_ = 0, segmentMicros_ = 0;
    uint64_t segmentTick_ = 0;
};

// Microseconds as a whole number, anything past the song's bound standing at just past it.
uint64_t Bounded(double micros) {
    return uint64_t(std::llround(std::min(micros, double(kMaxSongMicros + 1))));
}

// Converts the ticks of `messages` (increasing) in place, starting `offset` microseconds in.
void ConvertTicks(std::span<MidiMessage> messages, Clock& clock, double offset) {
    for (MidiMessage& m : messages)
        m.Micros = Bounded(offset + clock.Micros(m.Micros));
}

// Formats 0 and 1: all tracks play at once over one tempo map made of every track's tempo
// changes; at the same tick, earlier tracks go first.
MidiSong MergeTracks(std::vector<Track>& tracks, uint16_t division) {
    std::vector<TempoChange> tempos;
    MidiSong song;
    uint64_t endTick = 0;
    for (Track& t : tracks) {
        tempos.insert(tempos.end(), t.Tempos.begin(), t.Tempos.end());
        song.Messages.insert(song.Messages.end(), t.Messages.begin(), t.Messages.end());
        endTick = std::max(endTick, t.EndTick);
        t = {};
    }
    const auto byTick = [](const auto& a, const auto& b) { return a.Micros < b.Micros; };
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.Tick < b.Tick; });
    std::stable_sort(song.Messages.begin(), song.Messages.end(), byTick);
    Clock clock(division, tempos);
    ConvertTicks(song.Messages, clock, 0);
    song.LengthMicros = Bounded(clock.Micros(endTick));
    return song;
}

// Format 2: independent patterns, played one after another, each with its own tempo map.
MidiSong ChainTracks(std::vector<Track>& tracks, uint16_t division) {
    MidiSong song;
    double offset = 0;
    for (Track& t : tracks) {
        if (offset > double(kMaxSongMicros)) break;
        Clock clock(division, t.Tempos);
        ConvertTicks(t.Messages, clock, offset);
        song.Messages.insert(song.Messages.end(), t.Messages.begin(), t.Messages.end());
        offset += clock.Micros(t.EndTick);
        t = {};
    }
    song.LengthMicros = Bounded(offset);
    return song;
}

} // namespace

// Chunks: a four-letter type, a length (BE32), the body. The header chunk "MThd" comes first:
//   +0 format (BE16)  +2 track count (BE16)  +4 division (BE16): ticks a quarter note, or with
//   the top bit set, minus the frames a second (high byte) and the ticks a frame (low byte).
// Track chunks are "MTrk"; chunks of other types are skipped.
MidiSong ReadMidiFile(std::span<const uint8_t> file) {
    Cursor in(file, "its header runs past the end of the file");
    static constexpr uint8_t kHeaderTag[] = {'M', 'T', 'h', 'd'};
    if (file.size() < 8 || !std::equal(kHeaderTag, kHeaderTag + 4, file.begin()))
        throw EAudioFormat("This is not a MIDI file: it does not start with \"MThd\".");
    in.Take(4);
    const uint32_t headerLength = in.BigEndian(4);
    if (headerLength < 6) Damaged("its header is shorter than 6 bytes");
    const auto header = in.Take(headerLength);
    const uint16_t format = uint16_t(header[0] << 8 | header[1]);
    const uint16_t trackCount = uint16_t(header[2] << 8 | header[3]);
    const uint16_t division = uint16_t(header[4] << 8 | header[5]);
    if (format > 2) Damaged("its format is " + std::to_string(format) + ", not 0, 1 or 2");

    // A track cut short by the end of the file (a truncated download) plays as far as it goes.
    std::vector<Track> tracks;
    size_t messageCount = 0;
    while (tracks.size() < trackCount && in.Left() >= 8) {
        const auto tag = in.Take(4);
        const uint32_t length = in.BigEndian(4);
        const size_t available = std::min<size_t>(length, in.Left());
        const auto body = in.Take(available);
        if (std::equal(tag.begin(), tag.end(), "MTrk"))
            tracks.push_back(ReadTrack(body, messageCount));
    }
    if (tracks.empty()) Damaged("it has no tracks");

    MidiSong song = format == 2 ? ChainTracks(tracks, division) : MergeTracks(tracks, division);
    const auto late = std::find_if(song.Messages.begin(), song.Messages.end(),
                                   [](const MidiMessage& m) { return m.Micros > kMaxSongMicros; });
    song.Messages.erase(late, song.Messages.end());
    song.LengthMicros = std::min(song.LengthMicros, kMaxSongMicros);
    return song;
}
