#include "AudioError.h"
#include "AudioTestSupport.h"
#include "WavSound.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace audiotest;

namespace {

struct PeerCase {
    const char* Name;
    std::vector<std::string> Encoding; // sox's output options
    int Channels;
    int Rate;
    float Tolerance = 0;
};

// Every encoding, written by sox from a signal that moves through the whole range, must decode
// to sox's own reading of the same file, sample for sample: exactly up to 24 bits and for
// ADPCM; 32-bit integers and floats, which sox rounds its own way, within a 24-bit float's
// precision.
TEST(WavReader, DecodesEveryEncodingAsSoxDoes) {
    const std::vector<PeerCase> cases = {
        {"u8", {"-e", "unsigned", "-b", "8"}, 1, 11025},
        {"s16", {"-e", "signed", "-b", "16"}, 2, 44100},
        {"s24", {"-e", "signed", "-b", "24"}, 2, 48000}, // sox writes extensible headers here
        {"s32", {"-e", "signed", "-b", "32"}, 1, 22050, 1e-7f},
        {"f32", {"-e", "floating-point", "-b", "32"}, 2, 32000, 1e-7f},
        {"f64", {"-e", "floating-point", "-b", "64"}, 1, 8000, 1e-7f},
        {"ima1", {"-e", "ima-adpcm"}, 1, 22050},
        {"ima2", {"-e", "ima-adpcm"}, 2, 44100},
        {"ms1", {"-e", "ms-adpcm"}, 1, 16000},
        {"ms2", {"-e", "ms-adpcm"}, 2, 22050},
    };
    ScratchDir dir;
    for (const PeerCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string wav = (dir / (std::string(c.Name) + ".wav")).string();
        std::vector<std::string> args = {
            "-D", "-n", "-r", std::to_string(c.Rate), "-c", std::to_string(c.Channels)};
        args.insert(args.end(), c.Encoding.begin(), c.Encoding.end());
        args.insert(args.end(),
                    {wav, "synth", "0.2", "sine", "50-5000", "square", "300", "vol", "0.95"});
        Sox(dir, args);
        const std::vector<float> peer = SoxDecode(dir, wav);
        const std::vector<uint8_t> file = fileio::ReadFileBytes(wav);
        const std::vector<float> ours = RenderAll(*OpenWavSound(file, c.Rate));

        // ADPCM encoders pad the last block; the fact chunk, which sox ignores, trims it.
        const size_t frames = size_t(c.Rate / 5);
        ASSERT_EQ(ours.size(), 2 * frames);
        ASSERT_GE(peer.size(), frames * c.Channels);
        for (size_t i = 0; i < frames; ++i)
            for (int side = 0; side < 2; ++side) {
                const float expected = peer[i * c.Channels + (c.Channels == 1 ? 0 : side)];
                ASSERT_NEAR(ours[2 * i + side], expected, c.Tolerance) << "frame " << i;
            }
    }
}

// Chunks other than "fmt " and "data" are skipped, odd-sized ones with their pad byte, in
// whatever order they come; a partial last frame is dropped.
TEST(WavReader, SkipsOtherChunksAndPadBytes) {
    const std::vector<uint8_t> file = RiffWave({
        {"LIST", {'I', 'N', 'F', 'O', 'x'}}, // 5 bytes, then a pad byte
        Fmt(1, 1, 8000, 2, 16),
        {"fact", {3, 0, 0, 0}},
        {"junk", {1, 2, 3}},
        {"data", Pcm16({16384, -16384, 32767})},
    });
    std::vector<uint8_t> torn = file;
    torn.push_back(0x7F); // one byte of a fourth frame
    for (const auto& bytes : {file, torn}) {
        const std::vector<float> out = RenderAll(*OpenWavSound(bytes, 8000));
        EXPECT_EQ(out, (std::vector<float>{0.5f, 0.5f, -0.5f, -0.5f, 32767 / 32768.0f,
                                           32767 / 32768.0f}));
    }
}

// Left and right of a multichannel file, by its channels' speaker positions.
TEST(WavReader, MixesMultichannelDownToStereo) {
    struct Case {
        int Channels;
        uint32_t Mask; // 0: the usual order for the count
        int Loud;      // the one channel that is not silent
        bool Left, Right, Equal;
    };
    const std::vector<Case> cases = {
        {6, 0, 0, true, false, false},     // 5.1: front left
        {6, 0, 1, false, true, false},     // front right
        {6, 0, 2, true, true, true},       // centre
        {6, 0, 3, false, false, true},     // low frequency: left out
        {6, 0, 4, true, false, false},     // back left
        {8, 0, 7, false, true, false},     // 7.1: side right
        {3, 0x504, 1, true, true, true},   // centre, back centre, side right: the back centre
        {4, 0x603, 3, false, true, false}, // left, right, side left, side right
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Channels << " channels, loud " << c.Loud);
        std::vector<int16_t> samples(size_t(c.Channels), 0);
        samples[size_t(c.Loud)] = 16384;
        std::vector<uint8_t> extra;
        PutLe(extra, 16, 2);
        PutLe(extra, c.Mask, 4);
        PutLe(extra, 1, 2); // PCM, then the rest of the standard GUID
        for (uint8_t b :
             {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71})
            extra.push_back(b);
        const auto file = RiffWave(
            {Fmt(0xFFFE, c.Channels, 8000, 2 * c.Channels, 16, extra), {"data", Pcm16(samples)}});
        const std::vector<float> out = RenderAll(*OpenWavSound(file, 8000));
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(out[0] > 0, c.Left);
        EXPECT_EQ(out[1] > 0, c.Right);
        if (c.Equal) {
            EXPECT_EQ(out[0], out[1]);
        }
    }
    // Every channel of 7.1 at full scale together still fits.
    const auto loud =
        RiffWave({Fmt(1, 8, 8000, 16, 16), {"data", Pcm16(std::vector<int16_t>(8, -32768))}});
    const std::vector<float> out = RenderAll(*OpenWavSound(loud, 8000));
    EXPECT_NEAR(out[0], -1.0f, 1e-6f);
}

// Files that cannot be played, each refused with the reason, never read past their end.
TEST(WavReader, RefusesDamagedAndUnsupportedFilesWithTheReason) {
    const Chunk data{"data", Pcm16({1, 2, 3, 4})};
    const Chunk pcm = Fmt(1, 2, 44100, 4, 16);
    auto ima = [](int blockAlign, int framesPerBlock) {
        std::vector<uint8_t> extra;
        PutLe(extra, uint32_t(framesPerBlock), 2);
        return Fmt(0x11, 1, 8000, blockAlign, 4, extra);
    };
    std::vector<uint8_t> msExtra;
    PutLe(msExtra, 500, 2);
    PutLe(msExtra, 300, 2);
    std::vector<uint8_t> notRiff = RiffWave({pcm, data});
    notRiff[3] = 'X';
    std::vector<uint8_t> shortFmt = Fmt(1, 1, 8000, 2, 16).Body;
    shortFmt.resize(12);
    Chunk badGuid = Fmt(0xFFFE, 2, 8000, 4, 16, std::vector<uint8_t>(22, 0x55));

    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
        {{'R', 'I', 'F', 'F'}, "does not begin with a RIFF/WAVE header"},
        {notRiff, "does not begin with a RIFF/WAVE header"},
        {RiffWave({data}), "no format (\"fmt \") chunk"},
        {RiffWave({pcm}), "no \"data\" chunk"},
        {RiffWave({Fmt(1, 0, 44100, 4, 16), data}), "no channels"},
        {RiffWave({Fmt(1, 9, 44100, 18, 16), data}), "9 channels; at most 8"},
        {RiffWave({Fmt(1, 2, 0, 4, 16), data}), "sample rate of 0 Hz"},
        {RiffWave({Fmt(1, 2, 0xFFFFFFFF, 4, 16), data}), "sample rate of 4294967295 Hz"},
        {RiffWave({pcm, {"data", {1, 2, 3, 4}, 1000000}}),
         "\"data\" chunk claims 1000000 bytes but only 4 follow"},
        {RiffWave({{"fmt ", pcm.Body, 0x80000000}, data}), "claims 2147483648 bytes"},
        {RiffWave({{"fmt ", shortFmt}, data}), "12 bytes, fewer than 16"},
        {RiffWave({Fmt(1, 2, 44100, 0, 16), data}), "block size is zero"},
        {RiffWave({Fmt(1, 2, 44100, 6, 16), data}), "does not fit 2 channels of 16 bits"},
        {RiffWave({Fmt(3, 1, 44100, 2, 16), data}), "floating-point samples have 16 bits"},
        {RiffWave({Fmt(0x55, 2, 44100, 1, 0), data}), "MPEG layer 3 (MP3) (format 0x0055)"},
        {RiffWave({badGuid, data}), "sub-format"},
        {RiffWave({ima(4, 1), data}), "leaves no room for samples"},
        {RiffWave({ima(8, 10), data}), "cannot hold 10 samples"},
        {RiffWave({ima(8, 9), {"data", std::vector<uint8_t>(8 + 3, 0)}}),
         "cut off inside its header (3 of 8 bytes)"},
        {RiffWave({Fmt(2, 1, 8000, 256, 4, msExtra), data}), "300 coefficient pairs"},
    };
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        try {
            OpenWavSound(bytes, 44100);
            ADD_FAILURE() << "accepted";
        } catch (const EAudioFormat& e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
    }
}

} // namespace
