// TForm2, the background editor: a BMP or GIF picture found by browsing, with a preview, shown
// in the card with one of the twelve picture transitions for a number of seconds.
#pragma once

#include "EditorWindow.h"
#include "PictureServices.h"

#include <QString>

class FileBrowser;
class QCheckBox;
class QLabel;
class TransitionTiming;

class TForm2 final : public EditorWindow {
    Q_OBJECT
public:
    // `pictures` is the loader the build uses, so that the preview shows what the card will.
    TForm2(EditorHost& host, Dialogs& dialogs, PictureLoader& pictures);

    // The row's picture selected in the browser, its transition and its timing.
    void FillFromRow(const CardEvent& row) override;
    // A new background starts with nothing chosen: an empty file-name box, nothing selected
    // and "No Preview".
    void PrepareNewEvent() override;

    FileBrowser* Browser = nullptr;
    QCheckBox* CheckBox1 = nullptr;   // "Preview Image"
    QLabel* Image1 = nullptr;         // the preview
    QLabel* NoPreview = nullptr;      // shown instead of it
    QLabel* PreviewFailure = nullptr; // why a picture could not be previewed
    TransitionTiming* Transition = nullptr;
    QPushButton* Button1 = nullptr; // "&OK"
    QPushButton* Button2 = nullptr; // "&Cancel"

private:
    void FileSelected(const std::string& path);
    void ShowPreviewOrPlaceholder();
    void OkClick();

    PictureLoader& pictures_;
    QString previewFailure_; // why the chosen file has no preview; empty when it has one
};
