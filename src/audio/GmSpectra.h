// The spectra of the additive instruments: the levels of harmonics 1 to 12 at C3, C4 and C5,
// read from recordings of real instruments as a widely used General MIDI soundfont plays them
// and written down by us, by program.
#pragma once

#include "GmPatch.h"

namespace synth {

// The spectrum of `program`; its partials above the twelfth go on falling as the last few
// fall. Only the programs listed in GmSpectra.cpp have one (the others' is silent).
Spectrum MeasuredSpectrum(int program);

} // namespace synth
