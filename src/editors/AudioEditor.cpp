#include "AudioEditor.h"

#include "CardTexts.h"
#include "FileBrowser.h"
#include "PlayableMedia.h"
#include "menu.h"

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

AudioEditor::AudioEditor(TForm1& main, Dialogs& dialogs, AudioPlayer& player,
                         const AudioEditorDesign& design)
    : EditorWindow(main, dialogs, design.Frame, kClientSize, kCloseBoxOnly), player_(player),
      design_(design) {
    QWidget* frame = Frame();
    Browser = new FileBrowser(design.Filter, frame);
    Browser->move(kBrowserPos);
    // The stored path comes from the file list alone: the box only shows the chosen name.
    Browser->Edit1->setReadOnly(true);
    listedFolder_ = Browser->Folder();
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
    Browser->SelectFile(row.Cells[kColData]);
    // The event's file is named in the box, so that OK keeps it as it is; a file that is no
    // longer there leaves the box empty and OK asks for one.
    const std::string selected = Browser->SelectedPath();
    Browser->Edit1->setText(QFileInfo(QString::fromStdString(selected)).fileName());
    listedFolder_ = Browser->Folder();
}

void AudioEditor::PrepareNewEvent() {
    Browser->Edit1->clear();
}

void AudioEditor::FileListBox1Click(const std::string& path) {
    // Opening another folder lists its files with none selected; the box keeps the name last
    // clicked until another file is clicked.
    const bool otherFolder = Browser->Folder() != listedFolder_;
    listedFolder_ = Browser->Folder();
    if (path.empty() && otherFolder) return;
    Browser->Edit1->setText(QFileInfo(QString::fromStdString(path)).fileName());
    if (!path.empty()) player_.SetFileName(path);
}

void AudioEditor::TestClick() {
    const std::string path = Browser->SelectedPath();
    if (path.empty()) return;
    // Opening closes what played before, so a second press starts the file again.
    player_.SetFileName(path);
    player_.Open();
    player_.Play();
}

void AudioEditor::OkClick() {
    StopPlayback();
    // The box may still name a file clicked in another folder: the Data is the file list's
    // selection, so both are needed.
    const std::string path = Browser->SelectedPath();
    if (Browser->Edit1->text().isEmpty() || path.empty()) {
        Boxes().Information(design_.NoFile);
        return;
    }
    // Refused as the build would refuse it, so that the list never names a file no card plays.
    const EventKind kind = *KindOfLabel(design_.Kind);
    if (const auto notice = UnplayableMediaNotice(kind, path, Main().TargetRow)) {
        Boxes().Information(*notice);
        return;
    }
    WriteRow({design_.Kind, path, cardtext::kNone, cardtext::kNone});
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
