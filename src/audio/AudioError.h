// A sound or tune the engine cannot play, with the reason in words a person can act on.
#pragma once

#include <stdexcept>
#include <string>

class EAudioFormat : public std::runtime_error {
  public:
    explicit EAudioFormat(const std::string& message) : std::runtime_error(message) {}
};
