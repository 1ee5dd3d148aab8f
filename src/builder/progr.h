// TForm9, the build's progress window: a label of up to three lines over a progress bar.
#pragma once

#include "BuildServices.h"

#include <QWidget>

class QLabel;
class QProgressBar;

class TForm9 final : public QWidget, public BuildProgress {
    Q_OBJECT
public:
    TForm9();

    void Show() override;
    void Hide() override;
    void Progresse(int percent) override;
    // A CR in the text starts a new line. The window is repainted at once: the build holds the
    // event loop until it ends.
    void Labl(const std::string& text) override;

    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

protected:
    // A build cannot be stopped: the desktop's close box leaves the window showing it.
    void closeEvent(QCloseEvent* event) override;
};
