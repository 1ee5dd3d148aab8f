// A media player for editor tests: plays nothing, records every call, and fails to open the
// files it is told to with the text it is given.
#pragma once

#include "AudioPlayer.h"

#include <map>
#include <string>
#include <vector>

class FakeAudioPlayer final : public AudioPlayer {
  public:
    std::vector<std::string> Calls;                // "SetFileName PATH", "Open", "Play", "Stop"
    std::map<std::string, std::string> OpenErrors; // file name -> the device's error text

    void SetFileName(const std::string& path) override {
        Calls.push_back("SetFileName " + path);
        fileName_ = path;
    }
    void Open() override {
        Calls.push_back("Open");
        playing_ = opened_ = false;
        if (const auto error = OpenErrors.find(fileName_); error != OpenErrors.end())
            throw EAudioPlayer(error->second);
        opened_ = true;
    }
    void Play() override {
        Calls.push_back("Play");
        if (!opened_) throw EAudioPlayer("No sound file is open.");
        playing_ = true;
    }
    bool IsPlaying() const override { return playing_; }
    void Stop() override {
        Calls.push_back("Stop");
        playing_ = false;
    }
    // The file reaches its end.
    void Finish() { playing_ = false; }

  private:
    std::string fileName_;
    bool opened_ = false, playing_ = false;
};
