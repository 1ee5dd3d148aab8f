// TForm5, the sound-effect editor: the WAV sound that the card starts before going on at once.
#pragma once

#include "AudioEditor.h"

class TForm5 final : public AudioEditor {
    Q_OBJECT
public:
    // `player` is the editor's own media player, used only by "&Test Sound".
    TForm5(EditorHost& host, Dialogs& dialogs, AudioPlayer& player);
};
