// An output device that cannot be opened, with the device layer's own words for why.
#pragma once

#include <stdexcept>
#include <string>

class EAudioDevice : public std::runtime_error {
  public:
    explicit EAudioDevice(const std::string& message) : std::runtime_error(message) {}
};
