#include "Forms.h"

#include "OwnedWindow.h"

Forms::Forms(Dialogs& dialogs, HelpViewer& help, PictureLoader& pictures,
             TextImageRenderer& textImages, const ProgramFiles& files, AudioPlayer& soundPlayer,
             AudioPlayer& musicPlayer)
    : Form1(dialogs, help, files), Form2(Form1, dialogs, pictures),
      // The text editor hands its events over to the placement window, made after it.
      Form3(Form1, dialogs, Form7), Form5(Form1, dialogs, soundPlayer),
      Form7(Form1, dialogs, pictures), Form8(Form1, dialogs, musicPlayer), Form10(Form1, dialogs),
      Form4(Form1, dialogs), Form6(Form1, dialogs), Form12(Form1, dialogs) {
    Form1.AttachTextImageRenderer(textImages);
    // The progress window works for the main window as its child windows do.
    BelongTo(Form9, Form1);
    Form1.AttachBuilder(Form9, pictures);
    Form1.AttachChooser(Form10);
    // The editors of the kinds that exist so far; a kind without one keeps its chooser button
    // disabled and its rows open nothing.
    Form1.RegisterEditor(EventKind::OpenWindow, Form6);
    Form1.RegisterEditor(EventKind::Background, Form2);
    Form1.RegisterEditor(EventKind::RestoreBackground, Form12);
    Form1.RegisterEditor(EventKind::Text, Form3);
    Form1.RegisterEditor(EventKind::SoundEffect, Form5);
    Form1.RegisterEditor(EventKind::Music, Form8);
    Form1.RegisterEditor(EventKind::Pause, Form4);
}
