#include "GmSynth.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

using namespace synth;

namespace {

constexpr int kDrumChannel = 9;
constexpr int kBlockFrames = synth::Reverb::kMaxBlock;
constexpr int kFadeSlots = 16; // stolen voices fade out here while the new note starts
constexpr float kModWheelCents = 50;
constexpr float kMasterGain = 0.11f;
// A send controller at 127 sends this much of a voice to the effect (a fifth, as General MIDI
// players do).
constexpr float kReverbSendScale = 0.2f, kChorusSendScale = 0.2f;
// Peaks pass untouched up to the knee and bend smoothly towards the ceiling, -1 dBFS.
constexpr float kKnee = 0.6f, kCeiling = 0.891f;

// MIDI messages and controllers.
constexpr uint8_t kNoteOff = 0x80, kNoteOn = 0x90, kControl = 0xB0, kProgram = 0xC0, kBend = 0xE0;
enum Cc : int {
    kModulation = 1,
    kDataEntry = 6,
    kVolume = 7,
    kPan = 10,
    kExpression = 11,
    kDataEntryFine = 38,
    kSustainPedal = 64,
    kReverbSend = 91,
    kChorusSend = 93,
    kNrpnLsb = 98,
    kNrpnMsb = 99,
    kRpnLsb = 100,
    kRpnMsb = 101,
    kAllSoundOff = 120,
    kResetControllers = 121,
    kAllNotesOff = 123, // 124 to 127 (omni and mono/poly modes) also end every note
};

float Limit(float x) {
    const float a = std::fabs(x);
    if (a <= kKnee) return x;
    const float bent = kKnee + (kCeiling - kKnee) * Tanh((a - kKnee) / (kCeiling - kKnee));
    return std::copysign(bent, x);
}

} // namespace

GmSynth::GmSynth(int sampleRate)
    : rate_(sampleRate), reverb_(float(sampleRate)), chorus_(float(sampleRate)) {
    if (sampleRate < kMinRate || sampleRate > kMaxRate)
        throw std::invalid_argument("sample rate " + std::to_string(sampleRate) + " out of range");
    voices_.reserve(kPolyphony + kFadeSlots);
    for (int i = 0; i < kPolyphony + kFadeSlots; ++i)
        voices_.emplace_back(float(sampleRate));
    left_.resize(kBlockFrames);
    right_.resize(kBlockFrames);
    width_.resize(kBlockFrames);
    reverbSend_.resize(kBlockFrames);
    chorusSend_.resize(kBlockFrames);
    for (Channel& c : channels_)
        UpdateMix(c);
}

void GmSynth::Send(uint8_t status, uint8_t data1, uint8_t data2) {
    const int channel = status & 0x0F;
    Channel& c = channels_[size_t(channel)];
    switch (status & 0xF0) {
    case kNoteOff:
        return LetGo(channel, data1);
    case kNoteOn:
        return data2 == 0 ? LetGo(channel, data1) : NoteOn(channel, data1, data2);
    case kControl:
        return Controller(channel, data1, data2);
    case kProgram:
        c.Program = data1 & 0x7F;
        return;
    case kBend:
        c.Bend = (int(data2) << 7 | data1) - 8192;
        return UpdateMix(c);
    default:
        return;
    }
}

void GmSynth::UpdateMix(Channel& c) {
    c.Mix.Gain = c.Volume * c.Volume * c.Expression * c.Expression;
    c.Mix.Pan = c.Pan;
    c.Mix.BendSemitones = float(c.Bend) / 8192.0f * c.BendRange;
    c.Mix.VibratoCents = c.ModWheel * kModWheelCents;
    c.Mix.ReverbSend = c.Reverb * kReverbSendScale;
    c.Mix.ChorusSend = c.Chorus * kChorusSendScale;
}

Voice& GmSynth::FreeVoice() {
    const auto sounding = std::count_if(voices_.begin(), voices_.end(),
                                        [](const Voice& v) { return v.Active() && !v.Killed(); });
    if (sounding >= kPolyphony) {
        // Steal the quietest released note, or else the oldest: it fades out in a few
        // milliseconds in a spare slot while the new note starts on time.
        Voice* victim = nullptr;
        for (Voice& v : voices_) {
            if (!v.Active() || v.Killed()) continue;
            if (!victim || (v.Released() && !victim->Released()) ||
                (v.Released() == victim->Released() &&
                 (v.Released() ? v.Loudness() < victim->Loudness() : v.Age < victim->Age)))
                victim = &v;
        }
        victim->Kill();
    }
    const auto idle =
        std::find_if(voices_.begin(), voices_.end(), [](const Voice& v) { return !v.Active(); });
    if (idle != voices_.end()) return *idle;
    // Every spare slot still fading: cut the quietest.
    return *std::min_element(voices_.begin(), voices_.end(), [](const Voice& a, const Voice& b) {
        return a.Killed() != b.Killed() ? a.Killed() : a.Loudness() < b.Loudness();
    });
}

void GmSynth::NoteOn(int channel, int key, int velocity) {
    const Patch* patch = nullptr;
    if (channel == kDrumChannel) {
        patch = DrumPatch(key);
        if (!patch) return;
        for (Voice& v : voices_)
            if (v.Active() && v.Channel() == channel &&
                (v.Key() == key ||
                 (patch->ChokeGroup && v.Sound()->ChokeGroup == patch->ChokeGroup)))
                v.Kill();
    } else {
        patch = &MelodicPatch(channels_[size_t(channel)].Program);
        for (Voice& v : voices_)
            if (v.Active() && v.Channel() == channel && v.Key() == key && !v.Released())
                v.Release();
    }
    Voice& voice = FreeVoice();
    voice.Start(*patch, channels_[size_t(channel)].Mix, channel, key, velocity,
                uint32_t(started_ + 1) * 0x9E3779B9u);
    voice.Age = started_++;
}

void GmSynth::LetGo(int channel, int key) {
    if (channel == kDrumChannel) return; // drums ring out whatever the key does
    const bool pedal = channels_[size_t(channel)].Pedal;
    for (Voice& v : voices_) {
        if (!v.Active() || v.Channel() != channel || (key >= 0 && v.Key() != key) || v.Released() ||
            v.Sustained)
            continue;
        if (pedal)
            v.Sustained = true;
        else
            v.Release();
    }
}

void GmSynth::LiftPedal(int channel) {
    channels_[size_t(channel)].Pedal = false;
    for (Voice& v : voices_)
        if (v.Active() && v.Channel() == channel && v.Sustained) v.Release(), v.Sustained = false;
}

void GmSynth::Controller(int channel, int number, int value) {
    Channel& c = channels_[size_t(channel)];
    const float unit = float(value) / 127.0f;
    switch (number) {
    case kModulation:
        c.ModWheel = unit;
        break;
    case kVolume:
        c.Volume = unit;
        break;
    case kPan:
        c.Pan = std::clamp((float(value) - 64.0f) / 63.0f, -1.0f, 1.0f);
        break;
    case kExpression:
        c.Expression = unit;
        break;
    case kReverbSend:
        c.Reverb = unit;
        break;
    case kChorusSend:
        c.Chorus = unit;
        break;
    case kDataEntry:
    case kDataEntryFine:
        // Registered parameter 0 is the pitch bend range: semitones, then cents.
        if (c.RpnMsb == 0 && c.RpnLsb == 0) {
            const float semitones =
                number == kDataEntry ? float(std::min(value, 24)) : std::floor(c.BendRange);
            const float cents = number == kDataEntry ? 0.0f : float(std::min(value, 99));
            c.BendRange = semitones + cents / 100.0f;
        }
        break;
    case kRpnLsb:
        c.RpnLsb = value;
        break;
    case kRpnMsb:
        c.RpnMsb = value;
        break;
    case kNrpnLsb:
    case kNrpnMsb:
        c.RpnMsb = c.RpnLsb = 127;
        break;
    case kSustainPedal:
        if (value >= 64)
            c.Pedal = true;
        else
            LiftPedal(channel);
        break;
    case kAllSoundOff:
        for (Voice& v : voices_)
            if (v.Active() && v.Channel() == channel) v.Kill();
        break;
    case kResetControllers:
        c.ModWheel = 0;
        c.Expression = 1;
        c.Bend = 0;
        c.RpnMsb = c.RpnLsb = 127;
        LiftPedal(channel);
        break;
    default:
        if (number >= kAllNotesOff) LetGo(channel, -1);
        break;
    }
    UpdateMix(c);
}

void GmSynth::ReleaseAll() {
    for (Channel& c : channels_)
        c.Pedal = false;
    for (Voice& v : voices_)
        if (v.Active() && v.Channel() != kDrumChannel) v.Release(), v.Sustained = false;
}

void GmSynth::RenderBlock(float* out, int frames) {
    std::fill_n(left_.begin(), frames, 0.0f);
    std::fill_n(right_.begin(), frames, 0.0f);
    std::fill_n(width_.begin(), frames, 0.0f);
    std::fill_n(reverbSend_.begin(), frames, 0.0f);
    std::fill_n(chorusSend_.begin(), frames, 0.0f);
    const Voice::Outputs outputs{left_.data(), right_.data(), width_.data(), reverbSend_.data(),
                                 chorusSend_.data()};
    for (Voice& v : voices_)
        if (v.Active()) v.Render(outputs, frames);
    widener_.Process(left_.data(), right_.data(), width_.data(), frames);
    reverb_.Process(reverbSend_.data(), left_.data(), right_.data(), frames);
    chorus_.Process(chorusSend_.data(), left_.data(), right_.data(), frames);
    for (int i = 0; i < frames; ++i) {
        out[2 * i] = Limit(left_[size_t(i)] * kMasterGain);
        out[2 * i + 1] = Limit(right_[size_t(i)] * kMasterGain);
    }
}

void GmSynth::Render(float* out, size_t frames) {
    while (frames > 0) {
        const int block = int(std::min<size_t>(frames, kBlockFrames));
        RenderBlock(out, block);
        out += 2 * block;
        frames -= size_t(block);
    }
}

bool GmSynth::Silent() const {
    return SoundingVoices() == 0 && reverb_.Quiet() && chorus_.Quiet();
}

int GmSynth::SoundingVoices() const {
    return int(
        std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.Active(); }));
}
