#include "WavFormat.h"

#include "AudioError.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr uint16_t kTagPcm = 0x0001;
constexpr uint16_t kTagMsAdpcm = 0x0002;
constexpr uint16_t kTagFloat = 0x0003;
constexpr uint16_t kTagImaAdpcm = 0x0011;
constexpr uint16_t kTagExtensible = 0xFFFE;

// The sub-format GUID of an extensible file is the old format tag followed by these bytes.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Each ADPCM channel starts its block with a header: IMA 4 bytes (first sample, step index,
// reserved), Microsoft 7 bytes (predictor, delta, two samples).
constexpr int kImaHeaderBytes = 4;
constexpr int kMsHeaderBytes = 7;
constexpr int kMsMinCoefficients = 7;
constexpr int kMsMaxCoefficients = 256;

uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
    return uint32_t(U16(p)) | uint32_t(U16(p + 2)) << 16;
}

bool TagIs(const uint8_t* p, const char (&tag)[5]) {
    return std::equal(p, p + 4, tag);
}

[[noreturn]] void Refuse(const std::string& why) {
    throw EAudioFormat("Cannot play this WAV file: " + why);
}

// A chunk name fit to print, whatever bytes a hostile file puts there.
std::string ChunkName(const uint8_t* id) {
    std::string name = "\"";
    for (int i = 0; i < 4; ++i)
        name += (id[i] >= 0x20 && id[i] < 0x7F) ? char(id[i]) : '?';
    return name + "\"";
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFF);
    return text;
}

std::string CompressionName(uint16_t tag) {
    switch (tag) {
    case 0x0006:
        return "A-law";
    case 0x0007:
        return "mu-law";
    case 0x0031:
        return "GSM 6.10";
    case 0x0050:
        return "MPEG";
    case 0x0055:
        return "MPEG layer 3 (MP3)";
    default:
        return "an unknown compression";
    }
}

struct Chunks {
    std::span<const uint8_t> Fmt, Data, Fact;
    bool HasFmt = false, HasData = false, HasFact = false;
};

// "RIFF" size "WAVE", then chunks: id (4 bytes), body size (LE32), body, and a pad byte after
// a body of odd size. The RIFF size is often wrong in files found in the wild and is not used;
// walking stops once the format and the data are found, so trailing junk does no harm.
Chunks FindChunks(std::span<const uint8_t> file) {
    if (file.size() < 12 || !TagIs(file.data(), "RIFF") || !TagIs(file.data() + 8, "WAVE"))
        Refuse("it does not begin with a RIFF/WAVE header.");
    Chunks found;
    size_t pos = 12;
    while (pos + 8 <= file.size() && !(found.HasFmt && found.HasData)) {
        const uint8_t* id = file.data() + pos;
        const uint32_t size = U32(id + 4);
        const size_t body = pos + 8;
        if (size > file.size() - body)
            Refuse("its " + ChunkName(id) + " chunk claims " + std::to_string(size) +
                   " bytes but only " + std::to_string(file.size() - body) +
                   " follow; the file is cut short or damaged.");
        const std::span<const uint8_t> bytes = file.subspan(body, size);
        if (TagIs(id, "fmt ") && !found.HasFmt) {
            found.Fmt = bytes;
            found.HasFmt = true;
        } else if (TagIs(id, "data") && !found.HasData) {
            found.Data = bytes;
            found.HasData = true;
        } else if (TagIs(id, "fact") && size >= 4) {
            found.Fact = bytes;
            found.HasFact = true;
        }
        pos = body + size + (size & 1);
    }
    if (!found.HasFmt) Refuse("it has no format (\"fmt \") chunk.");
    if (!found.HasData) Refuse("it has no \"data\" chunk.");
    return found;
}

int ContainerBytes(WavEncoding encoding, int bits) {
    if (encoding == WavEncoding::Float) {
        if (bits != 32 && bits != 64)
            Refuse("its floating-point samples have " + std::to_string(bits) +
                   " bits; only 32 and 64 can be played.");
        return bits / 8;
    }
    if (bits < 1 || bits > 32)
        Refuse("its samples have " + std::to_string(bits) + " bits; 1 to 32 can be played.");
    return (bits + 7) / 8;
}

// IMA ADPCM extra bytes: frames per block (LE16). The header sample, then 8 samples in each
// 4-byte group per channel.
void ReadIma(WavFormat& f, std::span<const uint8_t> extra) {
    const int headers = kImaHeaderBytes * f.Channels;
    if (f.BlockAlign <= headers)
        Refuse("its IMA ADPCM block size (" + std::to_string(f.BlockAlign) +
               " bytes) leaves no room for samples.");
    const int groups = (f.BlockAlign - headers) / headers;
    const int declared = extra.size() >= 2 ? U16(extra.data()) : 0;
    f.FramesPerBlock = declared ? declared : 8 * groups + 1;
    if (f.FramesPerBlock > 8 * groups + 1)
        Refuse("its IMA ADPCM blocks of " + std::to_string(f.BlockAlign) + " bytes cannot hold " +
               std::to_string(f.FramesPerBlock) + " samples each.");
}

// Microsoft ADPCM extra bytes: frames per block (LE16), coefficient count (LE16), then the
// coefficient pairs (two LE16 each).
void ReadMs(WavFormat& f, std::span<const uint8_t> extra) {
    if (extra.size() < 4) Refuse("its Microsoft ADPCM format chunk is too short.");
    f.FramesPerBlock = U16(extra.data());
    const int count = U16(extra.data() + 2);
    if (count < kMsMinCoefficients || count > kMsMaxCoefficients)
        Refuse("its Microsoft ADPCM format names " + std::to_string(count) +
               " coefficient pairs; 7 to 256 are possible.");
    if (extra.size() < 4 + 4 * size_t(count))
        Refuse("its Microsoft ADPCM coefficients run past the format chunk.");
    for (int i = 0; i < count; ++i)
        f.MsCoefficients.push_back(
            {int16_t(U16(extra.data() + 4 + 4 * i)), int16_t(U16(extra.data() + 6 + 4 * i))});
    const int headers = kMsHeaderBytes * f.Channels;
    const long needed = headers + (long(std::max(f.FramesPerBlock, 2) - 2) * f.Channels + 1) / 2;
    if (f.FramesPerBlock < 2 || f.BlockAlign < needed)
        Refuse("its Microsoft ADPCM blocks of " + std::to_string(f.BlockAlign) +
               " bytes cannot hold " + std::to_string(f.FramesPerBlock) + " samples each.");
}

// "fmt ": format tag (LE16), channels (LE16), sample rate (LE32), byte rate (LE32),
// block align (LE16), bits per sample (LE16), then optionally the size of the extra bytes
// (LE16) and the extra bytes. Extensible: valid bits (LE16), channel mask (LE32), sub-format
// GUID (16 bytes), whose first two bytes are the real format tag.
WavFormat ReadFormat(std::span<const uint8_t> fmt) {
    if (fmt.size() < 16)
        Refuse("its format chunk has " + std::to_string(fmt.size()) + " bytes, fewer than 16.");
    const uint8_t* p = fmt.data();
    uint16_t tag = U16(p);
    WavFormat f;
    f.Channels = U16(p + 2);
    const uint32_t rate = U32(p + 4);
    f.BlockAlign = U16(p + 12);
    const int bits = U16(p + 14);
    std::span<const uint8_t> extra;
    if (fmt.size() >= 18) extra = fmt.subspan(18, std::min<size_t>(U16(p + 16), fmt.size() - 18));
    if (tag == kTagExtensible) {
        if (extra.size() < 22) Refuse("its extensible format chunk is too short.");
        f.ChannelMask = U32(extra.data() + 2);
        tag = U16(extra.data() + 6);
        if (!std::equal(std::begin(kSubFormatTail), std::end(kSubFormatTail), extra.data() + 8))
            Refuse("its sub-format is not one of the standard WAV formats.");
        extra = extra.subspan(22);
    }

    if (f.Channels == 0) Refuse("it says it has no channels.");
    if (f.Channels > kWavMaxChannels)
        Refuse("it has " + std::to_string(f.Channels) + " channels; at most " +
               std::to_string(kWavMaxChannels) + " can be played.");
    if (rate < kWavMinRate || rate > kWavMaxRate)
        Refuse("its sample rate of " + std::to_string(rate) + " Hz is outside " +
               std::to_string(kWavMinRate) + " to " + std::to_string(kWavMaxRate) + " Hz.");
    f.SampleRate = int(rate);
    if (f.BlockAlign == 0) Refuse("its block size is zero.");

    switch (tag) {
    case kTagPcm:
    case kTagFloat:
        f.Encoding = tag == kTagPcm ? WavEncoding::Pcm : WavEncoding::Float;
        f.BytesPerSample = ContainerBytes(f.Encoding, bits);
        if (f.BlockAlign != f.Channels * f.BytesPerSample)
            Refuse("its block size of " + std::to_string(f.BlockAlign) + " bytes does not fit " +
                   std::to_string(f.Channels) + " channels of " + std::to_string(bits) + " bits.");
        break;
    case kTagImaAdpcm:
    case kTagMsAdpcm:
        if (bits != 4)
            Refuse("its ADPCM samples have " + std::to_string(bits) + " bits instead of 4.");
        if (tag == kTagImaAdpcm) {
            f.Encoding = WavEncoding::ImaAdpcm;
            ReadIma(f, extra);
        } else {
            f.Encoding = WavEncoding::MsAdpcm;
            ReadMs(f, extra);
        }
        break;
    default:
        Refuse("it is compressed as " + CompressionName(tag) + " (format " + Hex4(tag) +
               "); only PCM, floating-point, IMA ADPCM and Microsoft ADPCM can be played.");
    }
    return f;
}

} // namespace

uint64_t AdpcmFramesInBlock(const WavFormat& format, size_t bytes) {
    const size_t channels = size_t(format.Channels);
    size_t frames = 0;
    if (format.Encoding == WavEncoding::ImaAdpcm) {
        const size_t headers = kImaHeaderBytes * channels;
        if (bytes < headers) return 0;
        frames = 8 * ((bytes - headers) / headers) + 1; // whole 4-byte groups of every channel
    } else {
        const size_t headers = kMsHeaderBytes * channels;
        if (bytes < headers) return 0;
        frames =
            2 * (bytes - headers) / channels + 2; // two samples a byte, after two in the header
    }
    return std::min<uint64_t>(frames, uint64_t(format.FramesPerBlock));
}

WavLayout ParseWav(std::span<const uint8_t> file) {
    const Chunks chunks = FindChunks(file);
    WavLayout layout{ReadFormat(chunks.Fmt), chunks.Data, 0};
    const WavFormat& f = layout.Format;
    const size_t blocks = layout.Data.size() / size_t(f.BlockAlign);
    const size_t rest = layout.Data.size() % size_t(f.BlockAlign);
    if (f.Encoding == WavEncoding::Pcm || f.Encoding == WavEncoding::Float) {
        layout.Frames = blocks; // a partial last frame is dropped
        return layout;
    }
    layout.Frames = uint64_t(blocks) * uint64_t(f.FramesPerBlock);
    if (rest > 0) {
        // A last block cut off inside its headers has not even its first sample: the file was
        // damaged, not merely written with a short last block.
        const uint64_t tail = AdpcmFramesInBlock(f, rest);
        if (tail == 0)
            Refuse("its last ADPCM block is cut off inside its header (" + std::to_string(rest) +
                   " of " + std::to_string(f.BlockAlign) + " bytes).");
        layout.Frames += tail;
    }
    // The encoder pads the last block; the fact chunk says how many frames are real. Some
    // writers leave it 0, which is ignored rather than trusted to silence the sound.
    if (chunks.HasFact && U32(chunks.Fact.data()) > 0)
        layout.Frames = std::min<uint64_t>(layout.Frames, U32(chunks.Fact.data()));
    return layout;
}
