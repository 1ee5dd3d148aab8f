// Any bytes given to the WAV reader end in a sound or in EAudioFormat: no crash, no read
// outside the bytes, no hang. A sound that opens renders to its end with every sample finite
// and bounded (the resampler's ringing may pass full scale a little; the mixer clips).
#include "AudioError.h"
#include "WavSound.h"

#include <cmath>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<AudioSource> sound;
    try {
        sound = OpenWavSound(std::span<const uint8_t>(data, size), 48000);
    } catch (const EAudioFormat&) {
        return 0;
    }
    // No file of the fuzzer's size holds more than a few minutes at the lowest rate.
    const size_t limit = 48000 * 60 * 10;
    std::vector<float> out(2 * 4096);
    size_t total = 0;
    for (size_t got = 4096; got == 4096; total += got) {
        got = sound->Render(out.data(), 4096);
        for (size_t i = 0; i < 2 * got; ++i)
            if (!std::isfinite(out[i]) || std::abs(out[i]) > 4) std::abort();
        if (total > limit) std::abort();
    }
    return 0;
}
