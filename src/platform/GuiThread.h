// Long work on a thread of its own, so that the windows repaint while it runs.
#pragma once

#include "BuildServices.h"

#include <functional>

// Runs `work` on a thread of its own while the event loop goes on, and returns when it ends;
// an exception that ends it is thrown again here. Keeping the user's input out meanwhile is
// the caller's part.
void RunAside(const std::function<void()>& work);

bool IsGuiThread();

// Runs `call` on the GUI thread and waits for it; on the GUI thread itself it runs at once.
// An exception that ends it is thrown again on the calling thread.
void OnGuiThread(const std::function<void()>& call);

// A build's progress window and notices for a build that runs aside: every call goes to the
// window on the GUI thread.
class GuiThreadProgress final : public BuildProgress {
public:
    explicit GuiThreadProgress(BuildProgress& window) : window_(window) {}
    void Show() override;
    void Hide() override;
    void Progresse(int percent) override;
    void Labl(const std::string& text) override;

private:
    BuildProgress& window_;
};

// A build's notices: each box is shown once the progress window, which stays above every other
// window, has gone, so that nothing hides the box.
class GuiThreadMessages final : public InformationSink {
public:
    GuiThreadMessages(InformationSink& boxes, BuildProgress& progress)
        : boxes_(boxes), progress_(progress) {}
    void Information(const std::string& text) override;

private:
    InformationSink& boxes_;
    BuildProgress& progress_;
};
