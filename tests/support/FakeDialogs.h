// Scripted stand-ins for the program's dialogs and help viewer: they record every box and
// answer from a script, so no test ever waits on a modal window.
#pragma once

#include "Dialogs.h"
#include "HelpViewer.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct ShownBox {
    std::string Kind; // "Information", "Confirm", "SaveChanges", "Plain", "Error", "Open",
                      // "Save", "Font"
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
    std::deque<bool> ConfirmAnswers; // Yes = true

    // Called as each information box shows, to look at the windows around it.
    std::function<void()> WhileInformation;
    void Information(const std::string& text) override {
        Shown.push_back({"Information", "Information", text});
        if (WhileInformation) WhileInformation();
    }
    bool Confirm(const std::string& text) override {
        Shown.push_back({"Confirm", "Confirm", text});
        if (ConfirmAnswers.empty()) {
            ADD_FAILURE() << "no scripted answer for: " << text;
            return false;
        }
        const bool yes = ConfirmAnswers.front();
        ConfirmAnswers.pop_front();
        return yes;
    }
    std::deque<SaveChanges> SaveChangesAnswers;
    SaveChanges AskSaveChanges(const std::string& text) override {
        Shown.push_back({"SaveChanges", "Confirm", text});
        if (SaveChangesAnswers.empty()) {
            ADD_FAILURE() << "no scripted answer for: " << text;
            return SaveChanges::Cancel;
        }
        const SaveChanges answer = SaveChangesAnswers.front();
        SaveChangesAnswers.pop_front();
        return answer;
    }
    void PlainMessage(const std::string& caption, const std::string& text) override {
        Shown.push_back({"Plain", caption, text});
    }
    void Error(const std::string& message) override { Shown.push_back({"Error", "", message}); }
    // The file dialogs answer from this script, in order; nothing left fails the test.
    // An answer of nothing is a cancel.
    std::deque<std::optional<std::string>> FileAnswers;
    std::vector<std::string> OfferedFileNames; // what each file dialog offered at first

    std::optional<std::string> OpenFileName(const FileDialogSpec& form) override {
        return FileAnswer("Open", form);
    }
    std::optional<std::string> SaveFileName(const FileDialogSpec& form) override {
        return FileAnswer("Save", form);
    }
    // Font dialogs record the font they start from and answer in order (nothing: a cancel).
    std::deque<std::optional<TFont>> FontAnswers;
    bool ChooseFont(TFont& font) override {
        if (FontAnswers.empty()) {
            Unexpected("Font", font.Name);
            return false;
        }
        Shown.push_back({"Font", "", font.Name});
        const std::optional<TFont> answer = FontAnswers.front();
        FontAnswers.pop_front();
        if (answer) font = *answer;
        return bool(answer);
    }

private:
    std::optional<std::string> FileAnswer(const std::string& kind, const FileDialogSpec& form) {
        Shown.push_back({kind, form.DefaultExt, form.Filter});
        OfferedFileNames.push_back(form.FileName);
        if (FileAnswers.empty()) {
            ADD_FAILURE() << "no scripted answer for the " << kind << " dialog: " << form.Filter;
            return std::nullopt;
        }
        std::optional<std::string> answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer;
    }
    void Unexpected(const std::string& kind, const std::string& what) {
        Shown.push_back({kind, "", what});
        ADD_FAILURE() << "unexpected " << kind << " dialog: " << what;
    }
};

class FakeHelpViewer final : public HelpViewer {
public:
    std::vector<std::string> Shown;
    void ShowContents(const std::string& helpFile) override { Shown.push_back(helpFile); }
};
