// Every window of the program, created once at start-up in this order and living until the
// program ends; only the main window is shown. Members are built in declaration order: after
// the main window come the background editor (TForm2), the text editor (TForm3), the
// sound-effect editor (TForm5), the text placement window (TForm7), the music editor
// (TForm8), the build progress window (TForm9), the chooser (TForm10), the pause editor
// (TForm4), the window-opening editor (TForm6) and the clear-text editor (TForm12). The
// windows of later versions take their places here as they come.
#pragma once

#include "Music.h"
#include "OpenWin.h"
#include "Pause.h"
#include "Previews.h"
#include "RestBack.h"
#include "Sound2.h"
#include "SubMenu.h"
#include "Text.h"
#include "background.h"
#include "menu.h"
#include "progr.h"

struct Forms {
    // Joins the windows: the main window opens the chooser and the editors, and builds and
    // opens cards with the picture and text services given. The sound-effect and music
    // editors each test on their own player.
    Forms(Dialogs& dialogs, HelpViewer& help, PictureLoader& pictures,
          TextImageRenderer& textImages, const ProgramFiles& files, AudioPlayer& soundPlayer,
          AudioPlayer& musicPlayer);

    TForm1 Form1;
    TForm2 Form2;
    TForm3 Form3;
    TForm5 Form5;
    TForm7 Form7;
    TForm8 Form8;
    TForm9 Form9;
    TForm10 Form10;
    TForm4 Form4;
    TForm6 Form6;
    TForm12 Form12;
};
