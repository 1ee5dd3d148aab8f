// The media player behind the sound-effect and music editors' Test buttons: one file at a
// time, played from its beginning without waiting for its end.
#pragma once

#include <stdexcept>
#include <string>

// A file or device that cannot be opened; the text is the device's own.
class EAudioPlayer : public std::runtime_error {
  public:
    explicit EAudioPlayer(const std::string& message) : std::runtime_error(message) {}
};

class AudioPlayer {
  public:
    virtual ~AudioPlayer() = default;
    // The file the next Open is for.
    virtual void SetFileName(const std::string& path) = 0;
    // Opens a playback device for the file, chosen from what the file holds (waveform audio
    // for a WAV sound, the synthesizer for a MIDI tune), closing the one opened before.
    // Raises EAudioPlayer with the device's text when the file or the device cannot be opened.
    virtual void Open() = 0;
    // Plays the opened file from its beginning and returns at once; raises EAudioPlayer when
    // nothing is open.
    virtual void Play() = 0;
    virtual bool IsPlaying() const = 0;
    virtual void Stop() = 0;
};
