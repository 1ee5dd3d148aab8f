// The words of the platform's own boxes and windows.
#pragma once

namespace platformtext {
inline constexpr const char* kInformationCaption = "Information";
inline constexpr const char* kConfirmCaption = "Confirm";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kYes = "&Yes";
inline constexpr const char* kNo = "&No";
inline constexpr const char* kSave = "&Save";
inline constexpr const char* kDiscard = "&Discard";
inline constexpr const char* kCancel = "&Cancel";

inline constexpr const char* kFontCaption = "Font";
inline constexpr const char* kColourLabel = "Colour:";
inline constexpr const char* kColourButton = "C&olour...";

inline constexpr const char* kHelpCaption = "Help";
inline constexpr const char* kHelpNotFoundBefore = "The help file '";
inline constexpr const char* kHelpNotFoundAfter = "' has not been found.";

// The picture loader's refusals: "Unknown picture file extension (.xxx)".
inline constexpr const char* kUnknownExtensionBefore = "Unknown picture file extension (.";
inline constexpr const char* kUnknownExtensionAfter = ")";
inline constexpr const char* kInvalidBitmap = "Bitmap image is not valid";

// A preview card that does not start, before the system's reason.
inline constexpr const char* kPreviewNotStarted = "The card cannot be played: ";

// An exception that carries no message of its own.
inline constexpr const char* kUnknownError = "Unknown error";
// A memory allocation that failed.
inline constexpr const char* kOutOfMemory = "Out of memory";
} // namespace platformtext
