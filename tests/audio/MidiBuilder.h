// Standard MIDI Files assembled from events at absolute ticks, for tests and demonstration
// tunes. Hostile files are written byte by byte in the tests instead.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace midibuild {

inline void VarLen(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t bytes[5];
    int n = 0;
    bytes[n++] = uint8_t(v & 0x7F);
    while (v >>= 7)
        bytes[n++] = uint8_t((v & 0x7F) | 0x80);
    while (n > 0)
        out.push_back(bytes[--n]);
}

inline void BigEndian(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

inline void Chunk(std::vector<uint8_t>& out, const char* tag, const std::vector<uint8_t>& body) {
    out.insert(out.end(), tag, tag + 4);
    BigEndian(out, uint32_t(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
}

class Track {
  public:
    // Events may be added in any order; at the same tick they keep the order of adding.
    Track& At(uint32_t tick, std::vector<uint8_t> bytes) {
        events_.push_back({tick, events_.size(), std::move(bytes)});
        return *this;
    }
    Track& Note(uint32_t tick, uint32_t length, int channel, int key, int velocity = 100) {
        At(tick, {uint8_t(0x90 | channel), uint8_t(key), uint8_t(velocity)});
        return At(tick + length, {uint8_t(0x80 | channel), uint8_t(key), 0});
    }
    Track& Program(uint32_t tick, int channel, int program) {
        return At(tick, {uint8_t(0xC0 | channel), uint8_t(program)});
    }
    Track& Control(uint32_t tick, int channel, int number, int value) {
        return At(tick, {uint8_t(0xB0 | channel), uint8_t(number), uint8_t(value)});
    }
    Track& Tempo(uint32_t tick, uint32_t microsPerQuarter) {
        return At(tick, {0xFF, 0x51, 0x03, uint8_t(microsPerQuarter >> 16),
                         uint8_t(microsPerQuarter >> 8), uint8_t(microsPerQuarter)});
    }
    // The events with their delta times and an end of track, without the chunk header.
    std::vector<uint8_t> Body() const {
        auto sorted = events_;
        std::sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
            return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
        });
        std::vector<uint8_t> out;
        uint32_t now = 0;
        for (const Event& e : sorted) {
            VarLen(out, e.Tick - now);
            now = e.Tick;
            out.insert(out.end(), e.Bytes.begin(), e.Bytes.end());
        }
        out.insert(out.end(), {0x00, 0xFF, 0x2F, 0x00});
        return out;
    }

  private:
    struct Event {
        uint32_t Tick;
        size_t Order;
        std::vector<uint8_t> Bytes;
    };
    std::vector<Event> events_;
};

// Header chunk (format, track count, division) and one "MTrk" chunk a track.
inline std::vector<uint8_t> File(uint16_t format, uint16_t division,
                                 const std::vector<Track>& tracks) {
    std::vector<uint8_t> header;
    BigEndian(header, format, 2);
    BigEndian(header, uint32_t(tracks.size()), 2);
    BigEndian(header, division, 2);
    std::vector<uint8_t> out;
    Chunk(out, "MThd", header);
    for (const Track& t : tracks)
        Chunk(out, "MTrk", t.Body());
    return out;
}

} // namespace midibuild
