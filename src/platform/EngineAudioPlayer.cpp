#include "EngineAudioPlayer.h"

#include "AudioFile.h"
#include "FileIO.h"

#include <exception>

namespace {
// The file's or the device's own error, as the player's.
template <typename Action> auto Reporting(Action action) {
    try {
        return action();
    } catch (const std::exception& e) {
        throw EAudioPlayer(e.what());
    }
}
} // namespace

void EngineAudioPlayer::Open() {
    Stop();
    opened_ = false;
    ready_.reset();
    Reporting([&] {
        file_ = fileio::ReadFileBytes(fileName_);
        slot_ = AudioFileSlot(file_);
        output_.Open();
        ready_ = OpenAudioFile(file_, output_.SampleRate());
    });
    opened_ = true;
}

void EngineAudioPlayer::Play() {
    if (!opened_) throw EAudioPlayer("No sound file is open.");
    std::unique_ptr<AudioSource> source =
        ready_ ? std::move(ready_)
               : Reporting([&] { return OpenAudioFile(file_, output_.SampleRate()); });
    play_ = output_.GetMixer().Play(slot_, std::move(source));
}

bool EngineAudioPlayer::IsPlaying() const {
    return output_.GetMixer().IsPlaying(play_);
}

void EngineAudioPlayer::Stop() {
    output_.GetMixer().Stop(play_);
    play_ = 0;
}
