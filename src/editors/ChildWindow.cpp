#include "ChildWindow.h"

#include "Command.h"
#include "OwnedWindow.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr const char* kCaption = "Velmora";
} // namespace

ChildWindow::ChildWindow(EditorHost& host, Dialogs& dialogs, const char* frameTitle,
                         QSize clientSize, Qt::WindowFlags flags, bool resizable)
    : host_(host), dialogs_(dialogs) {
    setWindowTitle(kCaption);
    setWindowFlags(flags);
    frame_ = new QGroupBox(frameTitle, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    if (resizable)
        resize(clientSize);
    else
        setFixedSize(clientSize);
    BelongTo(*this, host.Window());
}

QPushButton* ChildWindow::AddButton(const char* caption, const QRect& geometry,
                                    std::function<void()> handler) {
    auto* button = new QPushButton(caption, frame_);
    button->setGeometry(geometry);
    button->setAutoDefault(true);
    connect(button, &QPushButton::clicked, this,
            [this, handler = std::move(handler)] { RunCommand(dialogs_, handler); });
    return button;
}

void ChildWindow::Cancel() {
    hide();
    host_.ChildWindowClosed();
}

void ChildWindow::WriteRow(const EventCells& cells) {
    host_.WriteEventRow(cells);
    hide();
    host_.ChildWindowClosed();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    // The close box is a Cancel. The window only hides: it is made once and used again.
    event->ignore();
    RunCommand(dialogs_, [this] { Cancel(); });
}

void ChildWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        RunCommand(dialogs_, [this] { Cancel(); });
    else
        QWidget::keyPressEvent(event);
}
