// Velmora: composes animated greeting cards as lists of timed events and builds them.

#include "AppTexts.h"
#include "GifHooks.h"
#include "QtDialogs.h"
#include "QtHelpViewer.h"
#include "QtPictureLoader.h"
#include "QtTextImageRenderer.h"
#include "menu.h"
#include "progr.h"

#include <QApplication>

namespace {
// Every window of the program, created once at start-up in this order and living until the
// program ends; only the main window is shown. Members are built in declaration order, so the
// windows of later commands take their places here: after the main window come the
// background editor (TForm2), the text editor (TForm3), the sound-effect editor (TForm5),
// the text placement window (TForm7), the music editor (TForm8), the build progress window
// (TForm9), the chooser (TForm10), the pause editor (TForm4), the window-opening editor
// (TForm6) and the clear-text editor (TForm12).
struct Forms {
    Forms(Dialogs& dialogs, HelpViewer& help, const std::string& programDir)
        : Form1(dialogs, help, programDir) {}
    TForm1 Form1;
    TForm9 Form9;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(apptext::kApplicationTitle);
    InstallGifHooks();

    const std::string programDir = QCoreApplication::applicationDirPath().toStdString() + "/";
    QtDialogs dialogs(apptext::kApplicationTitle);
    QtHelpViewer help(dialogs, programDir);
    QtPictureLoader pictures;
    QtTextImageRenderer textImages(pictures); // Open renders the texts of a script with it
    Forms forms(dialogs, help, programDir);
    forms.Form1.AttachTextImageRenderer(textImages);
    forms.Form1.AttachBuilder(forms.Form9, pictures);

    // Closing the main window ends the program, whatever other window is still open.
    QObject::connect(&forms.Form1, &TForm1::Closed, &app, &QCoreApplication::quit);
    forms.Form1.show();
    return app.exec();
}
