// The windows that work for the editors' host, the main window: the chooser and the event
// editors. Each is made once, shown over the disabled host, and gives the host back when it
// goes, whichever way it goes: its Cancel, Escape or its close box.
#pragma once

#include "CardEvent.h"
#include "Dialogs.h"
#include "EditorHost.h"

#include <QWidget>

#include <functional>

class QGroupBox;
class QPushButton;

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    // A window captioned "Velmora" whose client area of `clientSize` is filled by a frame
    // titled `frameTitle`. `resizable` windows start at that size; the others keep it.
    ChildWindow(EditorHost& host, Dialogs& dialogs, const char* frameTitle, QSize clientSize,
                Qt::WindowFlags flags, bool resizable = false);

    // The frame that holds the window's controls.
    QGroupBox* Frame() const { return frame_; }

protected:
    EditorHost& Host() const { return host_; }
    Dialogs& Boxes() const { return dialogs_; }

    // A button on the frame that runs `handler` as a command: an error it raises goes to the
    // error box. Enter on the focused button presses it.
    QPushButton* AddButton(const char* caption, const QRect& geometry,
                           std::function<void()> handler);

    // Cancel, Escape and the close box: the window goes and the host takes the user again.
    // Nothing is written.
    virtual void Cancel();
    // The event of a confirmed editor: written at the host's target row (inserted or
    // replacing, by its edit mode), then the window goes.
    void WriteRow(const EventCells& cells);

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    EditorHost& host_;
    Dialogs& dialogs_;
    QGroupBox* frame_ = nullptr;
};
