// General MIDI tunes made in code, to measure the synthesizer and to look at what it plays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct Tune {
    std::string Name;
    std::vector<uint8_t> Midi;
};

// A C major scale, C4 to C5, half a second a note, on one program.
std::vector<uint8_t> Scale(int program);
// Two bars of a rock beat with a tom fill, on the drum channel.
std::vector<uint8_t> DrumPattern();
// Sixteen bars for a band: drums, bass, piano, strings, a flute melody, a brass answer.
std::vector<uint8_t> Band();
// Every program in turn on middle C, 0.6 s on and 0.4 s off, then every drum, a second each.
std::vector<uint8_t> ProgramTour();

// The scales of piano, strings and flute, the drum pattern, the band and the tour.
std::vector<Tune> All();

} // namespace demo
