#include "GifHooks.h"

#include "GifDecl.h"

#include <QApplication>

void InstallGifHooks() {
    GifHooks.ShowBusyCursor = [] { QApplication::setOverrideCursor(Qt::WaitCursor); };
    GifHooks.RestoreCursor = [] { QApplication::restoreOverrideCursor(); };
    // Only repaints and timers: a click or key handled in the middle of decoding would start
    // a second command inside the running one.
    GifHooks.ProcessMessages = [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}
