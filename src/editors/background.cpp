#include "background.h"

#include "CardTexts.h"
#include "EditorTexts.h"
#include "FileBrowser.h"
#include "PictureImage.h"
#include "TransitionTiming.h"
#include "Transitions.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include <exception>

namespace {
constexpr QSize kClientSize(497, 289);
constexpr QPoint kBrowserPos(8, 18);
constexpr QRect kPreviewCheckRect(312, 16, 169, 20);
constexpr QRect kPreviewRect(312, 38, 169, 113);
constexpr QRect kFailureRect(316, 108, 161, 42);
constexpr QPoint kTransitionPos(312, 156);
constexpr int kTransitionWidth = 169;
constexpr QRect kOkRect(326, 248, 75, 25);
constexpr QRect kCancelRect(406, 248, 75, 25);
constexpr int kNoPreviewPointSize = 12;
const QColor kNoPreviewColour(0, 128, 0);
} // namespace

TForm2::TForm2(EditorHost& host, Dialogs& dialogs, PictureLoader& pictures)
    : EditorWindow(host, dialogs, editortext::kBackgroundFrame, kClientSize, kCloseBoxOnly),
      pictures_(pictures) {
    QWidget* frame = Frame();
    Browser = new FileBrowser(editortext::kPictureFilter, frame);
    Browser->move(kBrowserPos);
    // The stored path comes from the file list alone: the box only shows the chosen name.
    Browser->Edit1->setReadOnly(true);
    connect(Browser, &FileBrowser::FileChosen, this,
            [this](const std::string& path) { FileSelected(path); });
    connect(Browser->Edit1, &QLineEdit::textChanged, this, [this] { ShowPreviewOrPlaceholder(); });

    CheckBox1 = new QCheckBox(editortext::kPreviewImage, frame);
    CheckBox1->setGeometry(kPreviewCheckRect);
    CheckBox1->setChecked(true);

    Image1 = new QLabel(frame);
    Image1->setGeometry(kPreviewRect);
    Image1->setScaledContents(true);
    NoPreview = new QLabel(editortext::kNoPreview, frame);
    NoPreview->setGeometry(kPreviewRect);
    NoPreview->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Arial"), kNoPreviewPointSize, QFont::Bold);
    NoPreview->setFont(font);
    QPalette palette = NoPreview->palette();
    palette.setColor(QPalette::WindowText, kNoPreviewColour);
    NoPreview->setPalette(palette);
    PreviewFailure = new QLabel(frame);
    PreviewFailure->setGeometry(kFailureRect);
    PreviewFailure->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PreviewFailure->setWordWrap(true);

    Transition = new TransitionTiming(transitions::kPicture, kTransitionWidth, frame);
    Transition->move(kTransitionPos);
    Button1 = AddButton(editortext::kOk, kOkRect, [this] { OkClick(); });
    Button2 = AddButton(editortext::kCancel, kCancelRect, [this] { Cancel(); });

    setTabOrder(Browser->Edit1, CheckBox1);
    setTabOrder(CheckBox1, Transition->ComboBox1);
    setTabOrder(Transition->ComboBox1, Transition->SpinEdit1);
    setTabOrder(Transition->SpinEdit1, Button1);
    setTabOrder(Button1, Button2);
    Button2->setFocus();
    ShowPreviewOrPlaceholder();
}

void TForm2::FillFromRow(const CardEvent& row) {
    Browser->SelectFile(row.Cells[kColData]);
    Transition->FillFromRow(row);
}

void TForm2::PrepareNewEvent() {
    // The box and the list agree, and so does what the preview says: nothing is chosen.
    Browser->ClearSelection();
    Browser->Edit1->clear();
}

void TForm2::FileSelected(const std::string& path) {
    previewFailure_.clear();
    Browser->Edit1->setText(QFileInfo(QString::fromStdString(path)).fileName());
    if (CheckBox1->isChecked() && !path.empty()) {
        // The same loader as the build: a name ending in "f" or "F" goes to our GIF reader.
        try {
            Image1->setPixmap(QPixmap::fromImage(ToQImage(pictures_.Load(path))));
        } catch (const std::exception& e) {
            previewFailure_ = QString::fromStdString(e.what());
        }
    }
    ShowPreviewOrPlaceholder();
}

void TForm2::ShowPreviewOrPlaceholder() {
    // A chosen file shows its preview (or the last one loaded, when previews are off); no
    // file, or one that could not be read, shows the placeholder, and then why.
    const bool preview = !Browser->Edit1->text().isEmpty() && previewFailure_.isEmpty();
    Image1->setVisible(preview);
    NoPreview->setVisible(!preview);
    PreviewFailure->setText(preview ? QString() : previewFailure_);
    PreviewFailure->setVisible(!preview && !previewFailure_.isEmpty());
}

void TForm2::OkClick() {
    const std::string path = Browser->SelectedPath();
    if (Browser->Edit1->text().isEmpty() || path.empty()) {
        Boxes().Information(editortext::kNoPicture);
        return;
    }
    const std::string transition = Transition->ComboBox1->TransitionText();
    if (transition.empty()) {
        Boxes().Information(editortext::kNoTransition);
        return;
    }
    WriteRow({cardtext::kBackground, path, transition, Transition->SpinEdit1->TimingText()});
}
