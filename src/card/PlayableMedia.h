// Sounds and tunes go into a card only when its player can play them, read as the player reads
// them: a script cannot carry any other file (a password file, a private key) into a card as
// its sound.
#pragma once

#include "EventKind.h"

#include <optional>
#include <string>

// The notice that refuses the file `path` of a "Sound effect" or "Music" event at grid row
// `row` when it is not a WAV sound, or not a MIDI tune, that the card plays; nothing when it
// plays, and for the other kinds. EInOutError when the file cannot be read.
std::optional<std::string> UnplayableMediaNotice(EventKind kind, const std::string& path, int row);
