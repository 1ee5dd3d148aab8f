#include "PlayableMedia.h"

#include "AudioFile.h"
#include "BuildTexts.h"

std::optional<std::string> UnplayableMediaNotice(EventKind kind, const std::string& path,
                                                 int row) {
    switch (kind) {
    case EventKind::SoundEffect:
        if (FilePlaysIn(path, MixerSlot::Sound)) return std::nullopt;
        return buildtext::NotAWavSound(path, row);
    case EventKind::Music:
        if (FilePlaysIn(path, MixerSlot::Tune)) return std::nullopt;
        return buildtext::NotAMidiTune(path, row);
    default:
        return std::nullopt;
    }
}
