// The words of a card file's package: the manifest that follows the player stub lists the
// packed files between these two marker lines, as name and size line pairs, every line
// ended by CR LF, the player script last.
#pragma once

#include "CardTexts.h"

namespace cardpackage {
inline constexpr const char* kStartMarker = "Fin du fichier executable";
inline constexpr const char* kEndMarker = "Fin textes";
inline constexpr const char* kLineEnd = "\r\n";
// The player stub in the program directory, and the manifest while a build writes it.
inline constexpr const char* kStubName = "model.ex_";
inline constexpr const char* kManifestName = "temp.txt";
} // namespace cardpackage
