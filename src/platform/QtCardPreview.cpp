#include "QtCardPreview.h"

#include "PlatformTexts.h"

#include <QProcess>

#include <stdexcept>

namespace {
// A card asked to end closes its window at once; this long is a card that does not answer.
constexpr int kEndWaitMs = 2000;
} // namespace

QtCardPreview::QtCardPreview() = default;

QtCardPreview::~QtCardPreview() {
    End();
}

void QtCardPreview::End() {
    if (!card_ || card_->state() == QProcess::NotRunning) return;
    card_->terminate(); // the card takes it as its close box
    if (!card_->waitForFinished(kEndWaitMs)) card_->kill(), card_->waitForFinished(kEndWaitMs);
}

void QtCardPreview::Play(const std::string& cardPath) {
    End();
    card_ = std::make_unique<QProcess>();
    // What the card says (a missing sound device) goes where the tool's own messages go.
    card_->setProcessChannelMode(QProcess::ForwardedChannels);
    card_->start(QString::fromStdString(cardPath), {});
    if (!card_->waitForStarted())
        throw std::runtime_error(platformtext::kPreviewNotStarted +
                                 card_->errorString().toStdString());
}
