// The dialogs of the program, drawn by Qt.
#pragma once

#include "Dialogs.h"

#include <QMessageBox>
#include <QStringList>

#include <memory>

class QtDialogs final : public Dialogs {
public:
    // `applicationTitle` captions the error box.
    explicit QtDialogs(std::string applicationTitle);

    void Information(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    SaveChanges AskSaveChanges(const std::string& text) override;
    void PlainMessage(const std::string& caption, const std::string& text) override;
    void Error(const std::string& message) override;
    std::optional<std::string> OpenFileName(const FileDialogSpec& form) override;
    std::optional<std::string> SaveFileName(const FileDialogSpec& form) override;
    bool ChooseFont(TFont& font) override;

private:
    std::string applicationTitle_;
};

// The boxes as they are built, before they are shown: what QtDialogs runs modally.
namespace qtdialogs {
std::unique_ptr<QMessageBox> MakeInformationBox(const std::string& text);
std::unique_ptr<QMessageBox> MakeConfirmBox(const std::string& text);
std::unique_ptr<QMessageBox> MakeSaveChangesBox(const std::string& text);
// What the user's button in a box made by MakeSaveChangesBox answers.
SaveChanges SaveChangesAnswer(const QMessageBox& box);
std::unique_ptr<QMessageBox> MakePlainBox(const std::string& caption, const std::string& text);
std::unique_ptr<QMessageBox> MakeErrorBox(const std::string& caption, const std::string& message);

// The program's texts end lines with CR; the toolkit's labels break them at LF.
QString DisplayText(const std::string& text);
// "VLM Script (*.vlm)|*.vlm" as the file dialog's name filters.
QStringList NameFilters(const std::string& filter);
// "*.vlm", ".vlm" -> "vlm".
QString DefaultSuffix(const std::string& defaultExt);
} // namespace qtdialogs
