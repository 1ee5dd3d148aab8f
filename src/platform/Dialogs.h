// The boxes and dialogs that windows show. Windows call this interface instead of the toolkit,
// so that tests can answer every box from a script and no modal window ever waits on them.
#pragma once

#include "BuildServices.h"
#include "TDataTexte.h"

#include <optional>
#include <string>

// A file dialog as a window's form describes it.
struct FileDialogSpec {
    std::string Filter;        // "description|mask", pairs separated by "|"
    std::string DefaultExt;    // added to a name typed without an extension ("*.vlm" -> ".vlm")
    std::string FileName = {}; // the file the dialog offers at first (a full path); empty: none
};

// The answers to the question before unsaved changes would be lost.
enum class SaveChanges { Save, Discard, Cancel };

class Dialogs : public InformationSink {
public:
    // A notice or refusal: the box captioned "Information" with one OK button.
    void Information(const std::string& text) override = 0;
    // The question before a destructive command: captioned "Confirm", "&Yes" and "&No".
    // True when the answer is Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // The question before a command sets unsaved changes aside: captioned "Confirm", with
    // "&Save" (the default), "&Discard" and "&Cancel" (also Escape and the close box).
    virtual SaveChanges AskSaveChanges(const std::string& text) = 0;
    // A plain box without icon, with one OK button. CR characters separate the lines.
    virtual void PlainMessage(const std::string& caption, const std::string& text) = 0;
    // The application's error box: an exception ended a command.
    virtual void Error(const std::string& message) = 0;

    // The chosen file's full path; nothing when the user cancels. Open does not require the
    // file to exist (opening it reports the error); Save replaces a file without a question.
    virtual std::optional<std::string> OpenFileName(const FileDialogSpec& form) = 0;
    virtual std::optional<std::string> SaveFileName(const FileDialogSpec& form) = 0;

    // The font dialog, starting from `font` (face, size, colour, style). On OK `font` takes
    // the user's choice and the answer is true; on Cancel it is left as it was.
    virtual bool ChooseFont(TFont& font) = 0;
};
