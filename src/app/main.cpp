// Velmora: composes animated greeting cards as lists of timed events and builds them.
//
//   velmora [SCRIPT.vlm]
//
// A script given opens at start as File > Open opens it (a file manager passes the script
// that was opened with the tool).

#include "AppTexts.h"
#include "AudioOutput.h"
#include "EngineAudioPlayer.h"
#include "Forms.h"
#include "GifHooks.h"
#include "ProgramFiles.h"
#include "QtCardPreview.h"
#include "QtDialogs.h"
#include "QtHelpViewer.h"
#include "QtPictureLoader.h"
#include "QtTextImageRenderer.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv); // takes the toolkit's own options out of argv
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fputs("usage: velmora [SCRIPT.vlm]\n", stderr);
        return 2;
    }
    QApplication::setApplicationName(apptext::kApplicationTitle);
    // The desktop finds the tool's menu entry and icon under this name.
    QGuiApplication::setDesktopFileName(VELMORA_APP_ID);
    QApplication::setWindowIcon(QIcon::fromTheme(VELMORA_APP_ID));
    InstallGifHooks();

    const ProgramFiles files =
        LocateProgramFiles(QCoreApplication::applicationDirPath().toStdString() + "/");
    QtDialogs dialogs(apptext::kApplicationTitle);
    QtHelpViewer help(dialogs, files.DataDir);
    QtPictureLoader pictures;
    QtTextImageRenderer textImages(pictures); // Open renders the texts of a script with it
    // One output device for the whole program, opened at the first Test; each editor plays
    // on its own player, a sound and a tune at once as in the card.
    AudioOutput audioOutput;
    EngineAudioPlayer soundPlayer(audioOutput);
    EngineAudioPlayer musicPlayer(audioOutput);
    Forms forms(dialogs, help, pictures, textImages, files, soundPlayer, musicPlayer);
    QtCardPreview preview; // a preview still playing ends with the tool
    forms.Form1.AttachPreview(preview);

    // Closing the main window ends the program, whatever other window is still open.
    QObject::connect(&forms.Form1, &TForm1::Closed, &app, &QCoreApplication::quit);
    forms.Form1.show();
    if (argc == 2) {
        // Once the window is up, so that a box about the file comes over it.
        const std::string script = argv[1];
        QTimer::singleShot(0, &forms.Form1, [&forms, script] { forms.Form1.OpenScript(script); });
    }
    return app.exec();
}
