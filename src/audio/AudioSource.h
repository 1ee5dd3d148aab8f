// What the mixer plays: a stream of stereo samples at the output rate, pulled block by block.
// Sounds and tunes are both sources, so the device, the offline renderer and the card player
// drive them the same way.
#pragma once

#include <cstddef>

class AudioSource {
  public:
    virtual ~AudioSource() = default;
    // Writes the next `frames` stereo frames into `out` (interleaved left, right; nominal range
    // -1 to 1), overwriting what is there. Returns how many frames it wrote: fewer than asked
    // only when the source has ended, and 0 from then on.
    virtual size_t Render(float* out, size_t frames) = 0;
};
