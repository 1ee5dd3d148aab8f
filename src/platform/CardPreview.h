// Plays a card that the tool has just built, beside the tool.
#pragma once

#include <string>

class CardPreview {
public:
    virtual ~CardPreview() = default;
    // Starts the card and returns at once, so that the tool stays responsive while it plays;
    // a preview still playing ends first. Throws when the card cannot be started.
    virtual void Play(const std::string& cardPath) = 0;
};
