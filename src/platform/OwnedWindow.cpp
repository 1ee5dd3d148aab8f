#include "OwnedWindow.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {
// The desktop reads the relation when the window is mapped, which follows its show event. The
// native window is made by the first show, not before, so that a move before it still places
// the window's frame.
class Owned final : public QObject {
public:
    Owned(QWidget& window, QWidget& owner) : QObject(&window), owner_(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            QWindow* window = static_cast<QWidget*>(watched)->windowHandle();
            if (window && owner_.windowHandle()) window->setTransientParent(owner_.windowHandle());
        }
        return false;
    }

private:
    QWidget& owner_;
};
} // namespace

void BelongTo(QWidget& window, QWidget& owner) {
    window.installEventFilter(new Owned(window, owner));
}
