// Our General MIDI synthesizer: sixteen channels (the tenth plays drums), the controllers a
// General MIDI file uses, 48 voices with stealing, the room (reverb through controller 91,
// chorus through 93, at General MIDI's defaults until a file sets them) and a limiter that
// keeps every sample at or below -1 dBFS. The same messages always give the same samples.
#pragma once

#include "Chorus.h"
#include "Reverb.h"
#include "SynthVoice.h"
#include "Widener.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class GmSynth {
  public:
    static constexpr int kPolyphony = 48;
    static constexpr int kMinRate = 8000, kMaxRate = 192000;

    // Throws std::invalid_argument for a rate outside kMinRate to kMaxRate.
    explicit GmSynth(int sampleRate);

    // One channel message: note off and on, controller, program change, pitch bend (the
    // others are ignored).
    void Send(uint8_t status, uint8_t data1, uint8_t data2);
    // Lets go of every note on every channel, pedal or not: the end of a song.
    void ReleaseAll();
    // Writes `frames` stereo frames, interleaved.
    void Render(float* out, size_t frames);
    // No voice sounds and the reverb has died away.
    bool Silent() const;
    int SoundingVoices() const;

  private:
    struct Channel {
        int Program = 0;
        float Volume = 100.0f / 127.0f, Expression = 1, Pan = 0;
        int Bend = 0;
        float BendRange = 2; // semitones, set through registered parameter 0
        float ModWheel = 0;
        float Reverb = 40.0f / 127.0f, Chorus = 0;
        bool Pedal = false;
        int RpnMsb = 127, RpnLsb = 127; // 127/127: none selected
        synth::ChannelMix Mix;
    };

    void NoteOn(int channel, int key, int velocity);
    // Lets go of the channel's held notes of `key` (-1: all of them); the pedal, when down,
    // keeps them sounding until it is lifted.
    void LetGo(int channel, int key);
    void LiftPedal(int channel);
    void Controller(int channel, int number, int value);
    void UpdateMix(Channel& c);
    synth::Voice& FreeVoice();
    void RenderBlock(float* out, int frames);

    const int rate_;
    std::array<Channel, 16> channels_;
    std::vector<synth::Voice> voices_;
    uint64_t started_ = 0;
    synth::Reverb reverb_;
    synth::Chorus chorus_;
    synth::Widener widener_;
    std::vector<float> left_, right_, width_, reverbSend_, chorusSend_;
};
