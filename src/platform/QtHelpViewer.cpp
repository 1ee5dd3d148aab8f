#include "QtHelpViewer.h"

#include "PlatformTexts.h"

#include <QUrl>

#include <filesystem>

namespace {
constexpr QSize kWindowSize(640, 560);
}

QtHelpViewer::QtHelpViewer(Dialogs& dialogs, std::string helpDir)
    : dialogs_(dialogs), helpDir_(std::move(helpDir)) {}

void QtHelpViewer::ShowContents(const std::string& helpFile) {
    const std::filesystem::path file(helpFile);
    const std::string path = file.is_absolute() ? helpFile : helpDir_ + helpFile;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        dialogs_.Information(platformtext::kHelpNotFoundBefore + path +
                             platformtext::kHelpNotFoundAfter);
        return;
    }
    if (!window_) {
        window_ = std::make_unique<QTextBrowser>();
        window_->setOpenExternalLinks(true);
        window_->resize(kWindowSize);
        // The help stays open beside the program but never keeps it running.
        window_->setAttribute(Qt::WA_QuitOnClose, false);
    }
    // The file's name says nothing of its format: it is read as HTML.
    window_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)),
                       QTextDocument::HtmlResource);
    const QString title = window_->documentTitle();
    window_->setWindowTitle(title.isEmpty() ? QString(platformtext::kHelpCaption) : title);
    window_->show();
    window_->raise();
    window_->activateWindow();
}
