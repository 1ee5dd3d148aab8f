// Scripted stand-ins for the program's dialogs and help viewer: they record every box and
// answer from a script, so no test ever waits on a modal window.
#pragma once

#include "Dialogs.h"
#include "HelpViewer.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

struct ShownBox {
    std::string Kind; // "Information", "Confirm", "Plain", "Error", "Open", "Save", "Font"
    std::string Caption;
    std::string Text;
    bool operator==(const ShownBox&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const ShownBox& b) {
    return os << '{' << b.Kind << ", \"" << b.Caption << "\", \"" << b.Text << "\"}";
}

class FakeDialogs final : public Dialogs {
public:
    std::vector<ShownBox> Shown;
    std::deque<bool> ConfirmAnswers;                     // Yes = true
    std::deque<std::optional<std::string>> FileAnswers;  // nothing = cancelled
    std::deque<std::optional<TFont>> FontAnswers;        // nothing = cancelled

    void Information(const std::string& text) override {
        Shown.push_back({"Information", "Information", text});
    }
    bool Confirm(const std::string& text) override {
        Shown.push_back({"Confirm", "Confirm", text});
        return Next(ConfirmAnswers, false, text);
    }
    void PlainMessage(const std::string& caption, const std::string& text) override {
        Shown.push_back({"Plain", caption, text});
    }
    void Error(const std::string& message) override { Shown.push_back({"Error", "", message}); }
    std::optional<std::string> OpenFileName(const FileDialogSpec& spec) override {
        Shown.push_back({"Open", spec.DefaultExt, spec.Filter});
        return Next(FileAnswers, std::optional<std::string>(), spec.Filter);
    }
    std::optional<std::string> SaveFileName(const FileDialogSpec& spec) override {
        Shown.push_back({"Save", spec.DefaultExt, spec.Filter});
        return Next(FileAnswers, std::optional<std::string>(), spec.Filter);
    }
    bool ChooseFont(TFont& font) override {
        Shown.push_back({"Font", "", font.Name});
        const std::optional<TFont> answer = Next(FontAnswers, std::optional<TFont>(), font.Name);
        if (answer) font = *answer;
        return answer.has_value();
    }

private:
    // The next scripted answer; a box the test did not expect fails it and is cancelled.
    template <class T> T Next(std::deque<T>& answers, T cancel, const std::string& what) {
        if (answers.empty()) {
            ADD_FAILURE() << "no scripted answer for: " << what;
            return cancel;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeHelpViewer final : public HelpViewer {
public:
    std::vector<std::string> Shown;
    void ShowContents(const std::string& helpFile) override { Shown.push_back(helpFile); }
};
