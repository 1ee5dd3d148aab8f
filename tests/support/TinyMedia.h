// The smallest sound and tune a card plays: 8-bit samples at 8 kHz (a data chunk that may
// declare more, for a file made longer afterwards), and one note.
#pragma once

#include "AudioTestSupport.h"
#include "MidiBuilder.h"

inline std::string TinyWav(const std::string& samples, uint32_t declared = 0xFFFFFFFF) {
    const std::vector<uint8_t> wav = audiotest::RiffWave(
        {audiotest::Fmt(1, 1, 8000, 1, 8), {"data", {samples.begin(), samples.end()}, declared}});
    return {wav.begin(), wav.end()};
}

inline std::string TinyMidi() {
    const std::vector<uint8_t> midi = midibuild::File(0, 96, {midibuild::Track().Note(0, 96, 0, 60)});
    return {midi.begin(), midi.end()};
}
