#include "GifHooks.h"

#include "GifDecl.h"
#include "GuiThread.h"

#include <QApplication>

// The cursor and the event loop belong to the GUI thread; work that runs aside (a card build)
// leaves them to the command that started it.
void InstallGifHooks() {
    GifHooks.ShowBusyCursor = [] {
        if (IsGuiThread()) QApplication::setOverrideCursor(Qt::WaitCursor);
    };
    GifHooks.RestoreCursor = [] {
        if (IsGuiThread()) QApplication::restoreOverrideCursor();
    };
    // Only repaints and timers: a click or key handled in the middle of decoding would start
    // a second command inside the running one.
    GifHooks.ProcessMessages = [] {
        if (IsGuiThread()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}
