#include "progr.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace {
constexpr QSize kClientSize(235, 62);
constexpr QRect kLabelRect(0, 0, 235, 41);
constexpr QRect kBarRect(0, 46, 235, 16);
constexpr const char* kCaption = "Velmora";
} // namespace

TForm9::TForm9() {
    setWindowTitle(kCaption);
    // A tool window without border icons, above every other window.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setFixedSize(kClientSize);

    Label1 = new QLabel(this);
    Label1->setGeometry(kLabelRect);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(false);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(kBarRect);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
}

void TForm9::Show() {
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    show();
    repaint();
}

void TForm9::Hide() { hide(); }

void TForm9::Progresse(int percent) {
    ProgressBar1->setValue(percent);
    ProgressBar1->repaint();
}

void TForm9::Labl(const std::string& text) {
    Label1->setText(QString::fromStdString(text).replace(QChar('\r'), QChar('\n')));
    repaint();
}

void TForm9::closeEvent(QCloseEvent* event) { event->ignore(); }
