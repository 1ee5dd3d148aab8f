#include "Previews.h"

#include "Command.h"
#include "EditorTexts.h"
#include "OwnedWindow.h"
#include "PictureImage.h"
#include "TextLabel.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>

namespace {
constexpr const char* kCaption = "Velmora";
constexpr QSize kInitialClientSize(688, 453);
// What the desktop's title bar and borders take around the client area, at most.
constexpr QSize kFrameAllowance(16, 48);

// The picture area and the label: each shows its image at its natural size in the window's
// logical pixels, which on a scaled screen are scaled like the rest of the desktop, so that a
// logical pixel is always a picture pixel. Each passes on the pointer's moves, in its own
// pixels, and the presses on it.
class Surface final : public QWidget {
  public:
    Surface(QWidget* parent, std::function<void(QPoint)> moved, std::function<void()> pressed)
        : QWidget(parent), moved_(std::move(moved)), pressed_(std::move(pressed)) {
        setMouseTracking(true);
    }
    void SetImage(QImage image) {
        image_ = std::move(image);
        resize(image_.size());
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, image_); }
    void mouseMoveEvent(QMouseEvent* event) override {
        // On a screen scaled by a fraction a logical position may fall inside a pixel.
        const QPointF at = event->position();
        moved_(QPoint(int(std::floor(at.x())), int(std::floor(at.y()))));
    }
    void mousePressEvent(QMouseEvent*) override { pressed_(); }

  private:
    QImage image_;
    std::function<void(QPoint)> moved_;
    std::function<void()> pressed_;
};

Surface& SurfaceOf(QWidget* widget) {
    return *static_cast<Surface*>(widget);
}
} // namespace

TForm7::TForm7(EditorHost& host, Dialogs& dialogs, PictureLoader& pictures)
    : host_(host), dialogs_(dialogs), pictures_(pictures) {
    setWindowTitle(kCaption);
    // A tool window above every other window, without minimise or maximise box. Its close box,
    // which desktops give it whatever it asks, takes the text back as Escape does.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFocusPolicy(Qt::StrongFocus); // for Escape
    setFixedSize(kInitialClientSize);
    BelongTo(*this, host.Window());
    const auto press = [this] { RunCommand(dialogs_, [this] { MouseDown(); }); };
    // A picture larger than the screen scrolls; the picture's own pixels stay the places.
    Scroller = new QScrollArea(this);
    Scroller->setFrameShape(QFrame::NoFrame);
    Scroller->setFocusPolicy(Qt::NoFocus); // Escape is the window's
    Scroller->resize(kInitialClientSize);
    Image1 = new Surface(
        Scroller, [this](QPoint at) { MouseMove(at); }, press);
    Image1->resize(kInitialClientSize);
    Scroller->setWidget(Image1);
    // Over the label the pointer's place is the label's corner plus its place in the label.
    Label1 = new Surface(
        Image1, [this](QPoint at) { MouseMove(Label1->pos() + at); }, press);
    Label1->hide();
}

TForm7::~TForm7() = default;

void TForm7::BeginPlacement(const EventCells& cells, const TFont& font, uint8_t alignment,
                            bool shadow) {
    auto label = std::make_unique<TextLabel>(cells[kColData], font, alignment);
    // The cells and the placement that follows, or its taking back, are one step.
    step_ = host_.WriteStepName(cells);
    host_.EditScript(step_, [&](CardScript& s) {
        pending_ = PendingText::Write(s, host_.TargetRow(), host_.EditMode(), cells);
    });
    texte_ = TDataTexte{font, alignment, shadow, 0, 0};
    label_ = std::move(label);
}

void TForm7::LoadBackground(const std::string& picturePath) {
    try {
        background_ = LoadTextBackground(pictures_, picturePath);
        const TPicture& picture = background_.Picture;
        if (picture.Pixels.empty()) throw std::runtime_error(editortext::kNoPixels);
        SurfaceOf(Image1).SetImage(ToQImage(picture));
        // The label's corner is always on the picture, under the pointer, so no more of it
        // than the picture's size can ever show.
        QImage label(int(std::min<int64_t>(label_->Width(), picture.Width)),
                     int(std::min<int64_t>(label_->Height(), picture.Height)),
                     QImage::Format_ARGB32_Premultiplied);
        label.fill(Qt::transparent);
        label_->Draw(label, 0, 0);
        SurfaceOf(Label1).SetImage(std::move(label));
    } catch (const std::exception& e) {
        GoBack();
        throw std::runtime_error(editortext::PictureUnreadable(picturePath, e.what()));
    } catch (...) {
        GoBack();
        throw;
    }
}

void TForm7::ShowBackground() {
    QSize client = Image1->size();
    const QScreen* screen = host_.Window().screen();
    if (screen) client = client.boundedTo(screen->availableGeometry().size() - kFrameAllowance);
    setFixedSize(client);
    Scroller->resize(client);
    Scroller->horizontalScrollBar()->setValue(0);
    Scroller->verticalScrollBar()->setValue(0);
    Label1->move(0, 0);
    Label1->show();
    if (screen) move(screen->availableGeometry().center() - rect().center());
    Placing = true;
    show();
    raise();
    activateWindow();
    setFocus();
}

void TForm7::MouseMove(QPoint at) {
    if (Placing) Label1->move(at);
}

void TForm7::MouseDown() {
    // A press places the text wherever the label is, whether or not it was following.
    Placing = false;
    if (pending_) memorise();
}

void TForm7::memorise() {
    texte_.X = Label1->x();
    texte_.Y = Label1->y();
    std::unique_ptr<TGifFile> image;
    try {
        image = RenderTextImage(background_, *label_, texte_);
    } catch (...) {
        GoBack();
        throw;
    }
    host_.ContinueStep(step_, [&](CardScript& s) {
        pending_->Commit(s, std::make_unique<TDataTexte>(texte_), std::move(image),
                         host_.ProgramDir(), host_.TempFiles());
    });
    pending_.reset();
    Finish();
}

void TForm7::GoBack() {
    Placing = false;
    if (pending_) {
        host_.ContinueStep(step_, [this](CardScript& s) { pending_->RollBack(s); });
        pending_.reset();
    }
    Finish();
}

void TForm7::Finish() {
    hide();
    Label1->hide();
    SurfaceOf(Image1).SetImage({});
    SurfaceOf(Label1).SetImage({});
    background_ = {};
    label_.reset();
    host_.ChildWindowClosed();
}

void TForm7::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        RunCommand(dialogs_, [this] { GoBack(); });
    else
        QWidget::keyPressEvent(event);
}

void TForm7::closeEvent(QCloseEvent* event) {
    // The close box takes the text back as Escape does, and the window stays to be used again.
    event->ignore();
    if (pending_) RunCommand(dialogs_, [this] { GoBack(); });
}
