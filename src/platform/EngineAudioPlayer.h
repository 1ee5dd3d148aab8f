// The media player on the program's own sound engine: WAV sounds and MIDI tunes go through
// the engine's mixer to the output device, so the Test buttons play what the card will.
#pragma once

#include "AudioOutput.h"
#include "AudioPlayer.h"
#include "AudioSource.h"
#include "Mixer.h"

#include <cstdint>
#include <memory>
#include <vector>

class EngineAudioPlayer final : public AudioPlayer {
  public:
    // Plays on `output`, which opens the device the first time a player opens a file; one
    // output serves all the program's players and must outlive them.
    explicit EngineAudioPlayer(AudioOutput& output) : output_(output) {}
    ~EngineAudioPlayer() override { Stop(); }
    EngineAudioPlayer(const EngineAudioPlayer&) = delete;
    EngineAudioPlayer& operator=(const EngineAudioPlayer&) = delete;

    void SetFileName(const std::string& path) override { fileName_ = path; }
    void Open() override;
    void Play() override;
    bool IsPlaying() const override;
    void Stop() override;

  private:
    AudioOutput& output_;
    std::string fileName_;
    std::vector<uint8_t> file_; // the opened file, for playing it again from its beginning
    MixerSlot slot_ = MixerSlot::Sound;
    bool opened_ = false;
    std::unique_ptr<AudioSource> ready_; // opened and not played yet: Play only hands it over
    Mixer::PlayId play_ = 0;
};
