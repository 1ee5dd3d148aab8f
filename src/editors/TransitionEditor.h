// The editors whose event is only a transition and a timing: the window opening and the
// clear text. Their rows differ in kind and Data alone, their windows in sizes and captions.
#pragma once

#include "EditorWindow.h"

#include <span>
#include <string_view>

class TransitionTiming;

class TransitionEditor : public EditorWindow {
    Q_OBJECT
public:
    // What the two editors differ in.
    struct Form {
        const char* Frame;
        QSize ClientSize;
        bool Resizable;
        std::span<const std::string_view> Transitions;
        QRect TransitionRect; // the pair's place and the list's width
        const char* Ok;
        QRect OkRect;
        const char* Cancel;
        QRect CancelRect;
        const char* Kind; // the row's kind and Data
        const char* Data;
    };

    // Transition and timing from the row.
    void FillFromRow(const CardEvent& row) override;

    TransitionTiming* Transition = nullptr;
    QPushButton* Button1 = nullptr; // OK: writes the row, whatever the controls show
    QPushButton* Button2 = nullptr; // Cancel

protected:
    TransitionEditor(EditorHost& host, Dialogs& dialogs, const Form& form);
};
