#include "SubMenu.h"

#include "AppTexts.h"
#include "menu.h"

#include <QGroupBox>
#include <QPushButton>

namespace {
constexpr QSize kClientSize(142, 202);
constexpr QSize kButtonSize(131, 25);
constexpr int kButtonLeft = 5;
constexpr int kFirstButtonTop = 18;
constexpr int kButtonPitch = 26;

// The kind each button inserts, in the buttons' order; "&Cancel" follows them.
constexpr std::array<std::pair<EventKind, const char*>, 6> kChoices = {{
    {EventKind::Background, apptext::kChooseBackground},
    {EventKind::Text, apptext::kChooseText},
    {EventKind::SoundEffect, apptext::kChooseSound},
    {EventKind::Music, apptext::kChooseMusic},
    {EventKind::Pause, apptext::kChoosePause},
    {EventKind::RestoreBackground, apptext::kChooseRestore},
}};
} // namespace

TForm10::TForm10(TForm1& main, Dialogs& dialogs)
    // A tool window without minimise or maximise box. Desktops give such a window
    // a close box whatever it asks (Qt asks for every box when it names none): it is asked for,
    // so that it is the only one, and it cancels.
    : ChildWindow(main, dialogs, apptext::kChooserFrame, kClientSize,
                  Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowCloseButtonHint),
      main_(main) {
    const auto place = [](size_t i) {
        return QRect(QPoint(kButtonLeft, kFirstButtonTop + int(i) * kButtonPitch), kButtonSize);
    };
    for (size_t i = 0; i < kChoices.size(); ++i) {
        const EventKind kind = kChoices[i].first;
        Buttons[i] = AddButton(kChoices[i].second, place(i), [this, kind] {
            if (kind == EventKind::RestoreBackground)
                RestoreBackgroundClick();
            else
                OpenEditor(kind);
        });
    }
    Buttons.back() =
        AddButton(apptext::kChooserCancel, place(kChoices.size()), [this] { Cancel(); });
    Buttons.back()->setFocus();
}

void TForm10::showEvent(QShowEvent* event) {
    // A menu of kinds torn off the Insert command: the desktop gives it its caption and a
    // close box (which cancels), and no minimise or maximise box. The type holds only once
    // the native window exists, which the first show makes.
    setAttribute(Qt::WA_X11NetWmWindowTypeMenu);
    for (size_t i = 0; i < kChoices.size(); ++i)
        Buttons[i]->setEnabled(main_.EditorFor(kChoices[i].first) != nullptr);
    ChildWindow::showEvent(event);
}

void TForm10::OpenEditor(EventKind kind) {
    main_.SetTarget(main_.SelectedRow(), false);
    RowEditor& editor = *main_.EditorFor(kind);
    // The editor takes the chooser's place; the main window stays disabled until it ends.
    QWidget& window = editor.Window();
    window.move(pos());
    editor.PrepareNewEvent();
    window.show();
    window.raise();
    window.activateWindow();
    hide();
}

void TForm10::RestoreBackgroundClick() {
    // A restore needs a background above it to restore; the chooser stays open otherwise.
    if (main_.Script().FindBackgroundAbove(main_.SelectedRow()) == 0) {
        Boxes().Information(apptext::kRestoreRefused);
        return;
    }
    OpenEditor(EventKind::RestoreBackground);
}

void TForm10::Cancel() {
    main_.SetTarget(main_.SelectedRow(), false);
    main_.move(pos());
    ChildWindow::Cancel();
}
