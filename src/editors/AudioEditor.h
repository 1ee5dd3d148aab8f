// The design shared by the sound-effect editor (TForm5) and the music editor (TForm8): a file
// found by browsing, listened to with the test button on the editor's own media player, and
// written as the event's Data. The twins differ only in what AudioEditorDesign holds.
#pragma once

#include "AudioPlayer.h"
#include "EditorTexts.h"
#include "EditorWindow.h"

#include <span>
#include <string>

class FileBrowser;
class QLabel;
class QPainter;

struct AudioEditorDesign {
    const char* Frame;
    std::span<const editortext::FilterEntry> Filter;
    const char* TestButton;
    const char* Kind;   // the label written in column 0
    const char* NoFile; // the refusal of OK without a file
    // Cancel stops the playback before the dialog goes (the sound editor) or right after it
    // has gone (the music editor).
    bool CancelStopsFirst;
    // The small picture above the test button, drawn into a square of `side` pixels.
    void (*DrawPicture)(QPainter& painter, int side);
};

class AudioEditor : public EditorWindow {
    Q_OBJECT
public:
    // `player` plays for this editor alone; it must outlive the editor.
    AudioEditor(EditorHost& host, Dialogs& dialogs, AudioPlayer& player,
                const AudioEditorDesign& design);

    // The row's file selected in the browser and its name in the file-name box.
    void FillFromRow(const CardEvent& row) override;
    // A new event starts with no file: an empty file-name box and nothing selected.
    void PrepareNewEvent() override;

    FileBrowser* Browser = nullptr;
    QLabel* Image1 = nullptr;       // the decoration above the test button
    QPushButton* Button3 = nullptr; // "&Test Sound" / "&Test Music"
    QPushButton* Button1 = nullptr; // "&OK"
    QPushButton* Button2 = nullptr; // "&Cancel"

protected:
    void Cancel() override;
    // The close box stops the playback before the window goes, whichever twin.
    void closeEvent(QCloseEvent* event) override;

private:
    void FileListBox1Click(const std::string& path);
    void Choose(const std::string& path);
    void TestClick();
    void OkClick();
    void StopPlayback();

    AudioPlayer& player_;
    const AudioEditorDesign design_;
    // The file last clicked, which the file-name box names: opening another folder keeps it,
    // and OK writes it. Empty when the box is.
    std::string chosen_;
};
