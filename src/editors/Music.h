// TForm8, the music editor: the MIDI tune that the card starts before going on at once.
#pragma once

#include "AudioEditor.h"

class TForm8 final : public AudioEditor {
    Q_OBJECT
public:
    // `player` is the editor's own media player, used only by "&Test Music".
    TForm8(EditorHost& host, Dialogs& dialogs, AudioPlayer& player);
};
