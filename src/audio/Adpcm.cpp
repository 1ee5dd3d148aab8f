#include "Adpcm.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int16_t kImaSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int kImaIndexShift[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kImaMaxIndex = 88;

constexpr int kMsAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                   768, 614, 512, 409, 307, 230, 230, 230};
constexpr int kMsMinStep = 16;
// A damaged block can grow the step without end; held where its next growth still fits.
constexpr int kMsMaxStep = std::numeric_limits<int>::max() / 768;

int16_t Clamp16(int v) {
    return int16_t(std::clamp(v, -32768, 32767));
}
int16_t I16(const uint8_t* p) {
    return int16_t(p[0] | p[1] << 8);
}

struct ImaState {
    int Sample;
    int Index;
    int16_t Next(int nibble) {
        const int step = kImaSteps[Index];
        // The reference codec's shift-and-add, not an exact multiply: decoders must agree.
        int diff = step >> 3;
        if (nibble & 4) diff += step;
        if (nibble & 2) diff += step >> 1;
        if (nibble & 1) diff += step >> 2;
        Sample = Clamp16(nibble & 8 ? Sample - diff : Sample + diff);
        Index = std::clamp(Index + kImaIndexShift[nibble & 7], 0, kImaMaxIndex);
        return int16_t(Sample);
    }
};

struct MsState {
    int Step, Sample1, Sample2, Coef1, Coef2;
    int16_t Next(int nibble) {
        // Summed in 64 bits: a file's own coefficients can overflow 32.
        const int predicted = int((int64_t(Sample1) * Coef1 + int64_t(Sample2) * Coef2) >> 8);
        const int signedNibble = nibble >= 8 ? nibble - 16 : nibble;
        const int16_t sample = Clamp16(predicted + signedNibble * Step);
        Sample2 = Sample1;
        Sample1 = sample;
        Step = std::clamp(kMsAdaptation[nibble] * Step >> 8, kMsMinStep, kMsMaxStep);
        return sample;
    }
};

} // namespace

void DecodeImaBlock(std::span<const uint8_t> block, int channels, size_t frames, int16_t* out) {
    const size_t headerBytes = 4 * size_t(channels);
    for (int c = 0; c < channels; ++c) {
        const uint8_t* header = block.data() + 4 * c;
        // A damaged step index is taken as 0, as other decoders do, rather than read out of
        // the table.
        ImaState state{I16(header), header[2] > kImaMaxIndex ? 0 : header[2]};
        out[c] = int16_t(state.Sample);
        for (size_t f = 1; f < frames; ++f) {
            const size_t i = f - 1; // sample within the channel's data: 8 per 4-byte group
            const uint8_t byte = block[headerBytes + (i / 8) * headerBytes + 4 * c + (i % 8) / 2];
            out[f * channels + c] = state.Next(i & 1 ? byte >> 4 : byte & 0x0F);
        }
    }
}

void DecodeMsBlock(std::span<const uint8_t> block, int channels, size_t frames,
                   std::span<const std::array<int16_t, 2>> coefficients, int16_t* out) {
    MsState states[8];
    const uint8_t* p = block.data();
    for (int c = 0; c < channels; ++c) {
        // A predictor index past the table is taken as 0, as other decoders do.
        const size_t predictor = p[c] < coefficients.size() ? p[c] : 0;
        states[c] = {I16(p + channels + 2 * c), I16(p + 3 * channels + 2 * c),
                     I16(p + 5 * channels + 2 * c), coefficients[predictor][0],
                     coefficients[predictor][1]};
        out[c] = int16_t(states[c].Sample2);
        if (frames > 1) out[channels + c] = int16_t(states[c].Sample1);
    }
    const uint8_t* nibbles = p + 7 * channels;
    const size_t count = frames > 2 ? (frames - 2) * size_t(channels) : 0;
    for (size_t k = 0; k < count; ++k) {
        const uint8_t byte = nibbles[k / 2];
        out[2 * channels + k] = states[k % channels].Next(k & 1 ? byte & 0x0F : byte >> 4);
    }
}
