// The mixer on the default output device, through SDL. The device is opened once and then
// pulls the mixer from SDL's audio thread for as long as the output lives; sounds and tunes
// start and stop on the mixer meanwhile.
#pragma once

#include "Mixer.h"

#include <cstdint>
#include <string>

class AudioOutput {
  public:
    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the default output device at 44.1 or 48 kHz, stereo, unless it is open already.
    // Raises EAudioDevice with SDL's text when no device can be opened.
    void Open();
    bool IsOpen() const { return device_ != 0; }
    int SampleRate() const { return rate_; } // once open
    // The audio driver in use, such as "pulseaudio" or "alsa"; once open.
    std::string DriverName() const;
    Mixer& GetMixer() { return mixer_; }

  private:
    Mixer mixer_;
    uint32_t device_ = 0;
    int rate_ = 0;
};
