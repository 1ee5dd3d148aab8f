// The smallest sound and tune that a card plays, told apart by `tag`: a WAV file of 8-bit
// samples (the tag's bytes), a MIDI file whose one track holds the tag as a text event.
#pragma once

#include <cstdint>
#include <string>

namespace tinymedia {
inline std::string Le(uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char(v >> (8 * i));
    return out;
}
inline std::string Be(uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += char(v >> (8 * i));
    return out;
}
} // namespace tinymedia

// The 44 bytes before the samples, for `dataBytes` of them (an even count).
inline std::string WavHeader(uint32_t dataBytes) {
    using tinymedia::Le;
    // "fmt ": PCM, 1 channel, 8000 Hz, 8000 bytes a second, 1 byte a frame, 8 bits.
    const std::string fmt = Le(1, 2) + Le(1, 2) + Le(8000, 4) + Le(8000, 4) + Le(1, 2) + Le(8, 2);
    return "RIFF" + Le(36 + dataBytes, 4) + "WAVEfmt " + Le(16, 4) + fmt + "data" +
           Le(dataBytes, 4);
}

inline std::string TinyWav(const std::string& tag) {
    const std::string samples = tag + std::string(tag.size() % 2, '\0');
    return WavHeader(uint32_t(samples.size())).replace(40, 4, tinymedia::Le(uint32_t(tag.size()), 4)) +
           samples;
}

inline std::string TinyMidi(const std::string& tag) {
    using tinymedia::Be;
    // Format 0, one track, 96 ticks a quarter; the track: a text event, then its end.
    const std::string track = std::string("\0\xFF\x01", 3) + char(tag.size()) + tag +
                              std::string("\0\xFF\x2F\0", 4);
    return "MThd" + Be(6, 4) + Be(0, 2) + Be(1, 2) + Be(96, 2) + "MTrk" +
           Be(uint32_t(track.size()), 4) + track;
}
