#include "GuiThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <thread>

void RunAside(const std::function<void()>& work) {
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: delivered once the loop runs, even if the work ended before it started.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

bool IsGuiThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

void OnGuiThread(const std::function<void()>& call) {
    if (IsGuiThread()) {
        call();
        return;
    }
    // An exception must not cross the event loop: it is carried back to this thread.
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure) std::rethrow_exception(failure);
}

void GuiThreadProgress::Show() {
    OnGuiThread([this] { window_.Show(); });
}

void GuiThreadProgress::Hide() {
    OnGuiThread([this] { window_.Hide(); });
}

void GuiThreadProgress::Progresse(int percent) {
    OnGuiThread([this, percent] { window_.Progresse(percent); });
}

void GuiThreadProgress::Labl(const std::string& text) {
    OnGuiThread([this, &text] { window_.Labl(text); });
}

void GuiThreadMessages::Information(const std::string& text) {
    OnGuiThread([this, &text] {
        progress_.Hide();
        boxes_.Information(text);
    });
}
