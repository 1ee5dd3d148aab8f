#include "AudioEditor.h"

#include "CardTexts.h"
#include "FileBrowser.h"
#include "PlayableMedia.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {
constexpr QSize kClientSize(497, 289);
constexpr QPoint kBrowserPos(8, 18);
constexpr int kPictureSide = 64;
constexpr QRect kPictureRect(364, 62, kPictureSide, kPictureSide);
constexpr QRect kTestRect(336, 138, 121, 25);
constexpr QRect kOkRect(326, 248, 75, 25);
constexpr QRect kCancelRect(406, 248, 75, 25);

QPixmap Picture(const AudioEditorDesign& design, qreal pixelRatio) {
    QPixmap pixmap(QSize(kPictureSide, kPictureSide) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    design.DrawPicture(painter, kPictureSide);
    return pixmap;
}
} // namespace

AudioEditor::AudioEditor(EditorHost& host, Dialogs& dialogs, AudioPlayer& player,
                         const AudioEditorDesign& design)
    : EditorWindow(host, dialogs, design.Frame, kClientSize, kCloseBoxOnly), player_(player),
      design_(design) {
    QWidget* frame = Frame();
    Browser = new FileBrowser(design.Filter, frame);
    Browser->move(kBrowserPos);
    // The stored path comes from the file list alone: the box only shows the chosen name.
    Browser->Edit1->setReadOnly(true);
    connect(Browser, &FileBrowser::FileChosen, this,
            [this](const std::string& path) { FileListBox1Click(path); });

    Image1 = new QLabel(frame);
    Image1->setGeometry(kPictureRect);
    Image1->setPixmap(Picture(design, devicePixelRatioF()));

    Button3 = AddButton(design.TestButton, kTestRect, [this] { TestClick(); });
    Button1 = AddButton(editortext::kOk, kOkRect, [this] { OkClick(); });
    Button2 = AddButton(editortext::kCancel, kCancelRect, [this] { Cancel(); });
    setTabOrder(Browser->Edit1, Button3);
    setTabOrder(Button3, Button1);
    setTabOrder(Button1, Button2);
    Button2->setFocus();
}

void AudioEditor::FillFromRow(const CardEvent& row) {
    // The event's file is chosen, so that OK keeps it as it is; a file that is no longer
    // there leaves no choice and OK asks for one.
    Choose({});
    Browser->SelectFile(row.Cells[kColData]);
}

void AudioEditor::PrepareNewEvent() {
    Choose({});
    Browser->ClearSelection();
}

void AudioEditor::FileListBox1Click(const std::string& path) {
    // Opening another folder lists its files with none selected: the file clicked before
    // stays the choice until another is clicked.
    if (path.empty()) return;
    Choose(path);
    player_.SetFileName(path);
}

void AudioEditor::Choose(const std::string& path) {
    chosen_ = path;
    const QString full = QString::fromStdString(path);
    Browser->Edit1->setText(QFileInfo(full).fileName());
    Browser->Edit1->setToolTip(full); // the box names the file, its folder may be another
}

void AudioEditor::TestClick() {
    if (chosen_.empty()) return;
    // Opening closes what played before, so a second press starts the file again.
    player_.SetFileName(chosen_);
    player_.Open();
    player_.Play();
}

void AudioEditor::OkClick() {
    StopPlayback();
    // The box names the choice, which the Data is.
    if (chosen_.empty()) {
        Boxes().Information(design_.NoFile);
        return;
    }
    // Refused as the build would refuse it, so that the list never names a file no card plays.
    const EventKind kind = *KindOfLabel(design_.Kind);
    if (const auto notice = UnplayableMediaNotice(kind, chosen_, Host().TargetRow())) {
        Boxes().Information(*notice);
        return;
    }
    WriteRow({design_.Kind, chosen_, cardtext::kNone, cardtext::kNone});
}

void AudioEditor::Cancel() {
    if (design_.CancelStopsFirst) StopPlayback();
    EditorWindow::Cancel();
    if (!design_.CancelStopsFirst) StopPlayback();
}

void AudioEditor::closeEvent(QCloseEvent* event) {
    StopPlayback();
    EditorWindow::closeEvent(event);
}

void AudioEditor::StopPlayback() {
    if (player_.IsPlaying()) player_.Stop();
}
