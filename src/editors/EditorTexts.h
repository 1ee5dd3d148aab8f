// The words of the event editors: captions, frames, labels, buttons, file filters and refusals.
#pragma once

#include <array>
#include <string>

namespace editortext {
inline constexpr const char* kCaption = "Velmora";

// Shared by the editors' transition and timing pairs and by the file browser.
inline constexpr const char* kTransition = "Transition";
inline constexpr const char* kTiming = "Timing";
inline constexpr const char* kDrive = "Drive";
inline constexpr const char* kDirectory = "Directory ";
inline constexpr const char* kOk = "&OK";
inline constexpr const char* kCancel = "&Cancel";

// One entry of a file browser's filter box: what it shows and the masks it sets, ";" between
// masks.
struct FilterEntry {
    const char* Description;
    const char* Masks;
};

// The background editor.
inline constexpr const char* kBackgroundFrame = "Background Image";
inline constexpr std::array<FilterEntry, 3> kPictureFilter = {{
    {"All files (*.BMP,*.GIF)", "*.BMP;*.GIF"},
    {"Bitmap (*.BMP)", "*.BMP"},
    {"Compuserve GIF (*.GIF)", "*.GIF"},
}};
inline constexpr const char* kPreviewImage = "Preview Image";
inline constexpr const char* kNoPreview = "No Preview";
inline constexpr const char* kNoPicture = "You must select a picture for the background.";
inline constexpr const char* kNoTransition = "You must select a transition for this event.";

// The sound-effect and music editors: one filter entry each, whose mask the file list starts
// with.
inline constexpr const char* kWaveFrame = "Wave Sound File ";
inline constexpr std::array<FilterEntry, 1> kWaveFilter = {{{"Wave Files (*.Wav)", "*.Wav"}}};
inline constexpr const char* kTestSound = "&Test Sound";
inline constexpr const char* kNoSoundFile = "You must select a sound file.";
inline constexpr const char* kMidiFrame = "Midi Music File";
inline constexpr std::array<FilterEntry, 1> kMidiFilter = {{{"Midi files (*.Mid)", "*.MID"}}};
inline constexpr const char* kTestMusic = "&Test Music";
inline constexpr const char* kNoMidiFile = "You must select a midi file.";

// The pause editor.
inline constexpr const char* kPauseFrame = "Pause";
inline constexpr const char* kPauseTiming = "Timing ";
inline constexpr const char* kAmpOk = "&Ok";

// The window-opening editor: its buttons carry no accelerator.
inline constexpr const char* kWindowOpeningFrame = "Window Opening";
inline constexpr const char* kPlainOk = "Ok";
inline constexpr const char* kPlainCancel = "Cancel";

// The clear-text editor, which edits the restoring of the background.
inline constexpr const char* kClearTextFrame = "Clear Text";

// The text editor.
inline constexpr const char* kTextFrame = "Text ";
inline constexpr const char* kFontsFrame = "Fonts ";
inline constexpr const char* kFontsButton = "&Fonts";
inline constexpr const char* kAddShadow = "Add &Shadow";
inline constexpr const char* kAlignmentFrame = "Alignement";
inline constexpr std::array<const char*, 3> kAlignments = {"&Left", "&Centered", "&Right"};
inline constexpr const char* kEnterText = "Enter Text";
inline constexpr const char* kNoBackground =
    "You must select a background before entering any text.";
inline constexpr const char* kPlaceText = "Now place the text on the background";

// The placement window: a background that cannot be shown there.
inline std::string PictureUnreadable(const std::string& path, const std::string& why) {
    return "The picture '" + path + "' cannot be read: " + why;
}
inline constexpr const char* kNoPixels = "it has no pixels.";
} // namespace editortext
