// The words of the program's shell: its titles, the main window's controls and its chooser,
// their refusals and questions, the About box and the main window's file dialogs.
#pragma once

#include <string>

namespace apptext {
inline constexpr const char* kApplicationTitle = "VLM Builder";
inline constexpr const char* kHelpFile = "VLM Help.hlp";
inline constexpr const char* kCaption = "Velmora";

inline constexpr const char* kFrame = "Menu";
inline constexpr const char* kInsert = "&Insert";
inline constexpr const char* kDelete = "&Delete";
inline constexpr const char* kBuildCard = "&Build Card";
inline constexpr const char* kClearAll = "&Clear All";
inline constexpr const char* kExit = "E&xit";

inline constexpr const char* kFileMenu = "&File";
inline constexpr const char* kOpenItem = "&Open...";
inline constexpr const char* kSaveItem = "&Save...";
inline constexpr const char* kBuildCardItem = "&Build Card...";
inline constexpr const char* kPreviewItem = "Pre&view Card";
inline constexpr const char* kClearItem = "&Clear";
inline constexpr const char* kExitItem = "E&xit";
inline constexpr const char* kEditMenu = "&Edit";
inline constexpr const char* kUndoItem = "&Undo";
inline constexpr const char* kRedoItem = "&Redo";
inline constexpr const char* kHelpMenu = "&Help";
inline constexpr const char* kContentsItem = "&Contents";
inline constexpr const char* kAboutItem = "&About...";

// The steps that Edit > Undo and Redo name: "&Undo Delete". An editor's step is its kind,
// written as a new event or over an existing one: "&Undo Insert Text", "&Undo Edit Pause".
inline constexpr const char* kDeleteStep = "Delete";
inline constexpr const char* kClearAllStep = "Clear All";
inline constexpr const char* kOpenStep = "Open";
inline std::string WriteStep(bool editMode, const std::string& kind) {
    return (editMode ? "Edit " : "Insert ") + kind;
}
inline std::string StepItem(const char* item, const std::string& step) {
    return step.empty() ? item : item + (" " + step);
}

// The chooser that "&Insert" opens.
inline constexpr const char* kChooserFrame = "Insert an event";
inline constexpr const char* kChooseBackground = "B&ackground Image";
inline constexpr const char* kChooseText = "&Text Message";
inline constexpr const char* kChooseSound = "&Wave File";
inline constexpr const char* kChooseMusic = "&Midi Music File";
inline constexpr const char* kChoosePause = "&Pause";
inline constexpr const char* kChooseRestore = "&Restore Background";
inline constexpr const char* kChooserCancel = "&Cancel";
inline constexpr const char* kRestoreRefused =
    "You must select the background before restoring it.";

inline constexpr const char* kInsertRefused = "Impossible to insert an event before Card Opening.";
inline constexpr const char* kDeleteRefused = "You cannot delete the window opening Event.";
inline constexpr const char* kClearAllQuestion =
    "Do you want to clear all the Events in the list ?";
// Asked before Open, Exit or the close box would lose unsaved changes; `fileName` is the
// script's name without its folder, empty for a card never saved.
inline std::string SaveChangesQuestion(const std::string& fileName) {
    return "Do you want to save the changes to " +
           (fileName.empty() ? std::string("the card") : "'" + fileName + "'") + " ?";
}
// The window's title: the script's name before the caption, and this mark first while the
// list has unsaved changes.
inline constexpr const char* kTitleSeparator = " - ";
inline constexpr const char* kModifiedMark = "*";

// Four lines separated by CR: the name, the notice, the version, the address.
inline constexpr const char* kAboutText = "         Velmora\r"
                                          "Copyright (C) The Velmora authors\r"
                                          "              Version 1.2\r"
                                          "https://velmora.invalid/";

// The main window's file dialogs: filter, then default extension, as the forms store them.
inline constexpr const char* kExecutableFilter = "Executable file (*.Exe)|*.exe";
inline constexpr const char* kExecutableExt = "*.Exe";
inline constexpr const char* kScriptSaveFilter = "VLM Script (*.vlm)|*.vlm";
inline constexpr const char* kScriptSaveExt = ".vlm";
inline constexpr const char* kScriptOpenFilter = "VLM script (*.vlm)|*.vlm";
inline constexpr const char* kScriptOpenExt = "*.vlm";
} // namespace apptext
