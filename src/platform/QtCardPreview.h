// The preview as a program of its own: the card file started as a process of the tool's.
#pragma once

#include "CardPreview.h"

#include <memory>

class QProcess;

class QtCardPreview final : public CardPreview {
public:
    QtCardPreview();
    // A preview still playing when the tool ends goes with it.
    ~QtCardPreview() override;

    void Play(const std::string& cardPath) override;

private:
    void End();
    std::unique_ptr<QProcess> card_;
};
