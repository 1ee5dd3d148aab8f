// The help viewer: the help file is an HTML user guide, shown in a browser window of its own.
#pragma once

#include "Dialogs.h"
#include "HelpViewer.h"

#include <QTextBrowser>

#include <memory>

class QtHelpViewer final : public HelpViewer {
public:
    // A bare help file name is looked for in `helpDir` (which ends with the separator): beside
    // the program in its build folder, in its data folder once installed.
    QtHelpViewer(Dialogs& dialogs, std::string helpDir);

    void ShowContents(const std::string& helpFile) override;

    // The window, once a help file has been shown.
    QTextBrowser* Window() const { return window_.get(); }

private:
    Dialogs& dialogs_;
    std::string helpDir_;
    std::unique_ptr<QTextBrowser> window_;
};
