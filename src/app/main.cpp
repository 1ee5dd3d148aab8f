// Velmora: composes animated greeting cards as lists of timed events and builds them.

#include "AppTexts.h"
#include "AudioOutput.h"
#include "EngineAudioPlayer.h"
#include "Forms.h"
#include "GifHooks.h"
#include "QtCardPreview.h"
#include "QtDialogs.h"
#include "QtHelpViewer.h"
#include "QtPictureLoader.h"
#include "QtTextImageRenderer.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(apptext::kApplicationTitle);
    InstallGifHooks();

    const std::string programDir = QCoreApplication::applicationDirPath().toStdString() + "/";
    QtDialogs dialogs(apptext::kApplicationTitle);
    QtHelpViewer help(dialogs, programDir);
    QtPictureLoader pictures;
    QtTextImageRenderer textImages(pictures); // Open renders the texts of a script with it
    // One output device for the whole program, opened at the first Test; each editor plays
    // on its own player, a sound and a tune at once as in the card.
    AudioOutput audioOutput;
    EngineAudioPlayer soundPlayer(audioOutput);
    EngineAudioPlayer musicPlayer(audioOutput);
    Forms forms(dialogs, help, pictures, textImages, programDir, soundPlayer, musicPlayer);
    QtCardPreview preview; // a preview still playing ends with the tool
    forms.Form1.AttachPreview(preview);

    // Closing the main window ends the program, whatever other window is still open.
    QObject::connect(&forms.Form1, &TForm1::Closed, &app, &QCoreApplication::quit);
    forms.Form1.show();
    return app.exec();
}
