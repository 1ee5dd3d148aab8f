// The texts and limits of the package that a card file carries after its player stub. The
// builder writes them and the player checks them, so both take them from here.
//
//   "Fin du fichier executable" CR LF
//   name CR LF, size CR LF           one pair per packed file, the player script last
//   "Fin textes" CR LF
//   the packed files' bytes, back to back, in the order of the pairs, up to the file's end
#pragma once

// The name of the last packed file, the player script, is cardtext::kPlayerScriptName.
#include "CardTexts.h"

#include <cstddef>
#include <cstdint>

namespace cardpackage {
inline constexpr const char* kStartMarker = "Fin du fichier executable";
inline constexpr const char* kEndMarker = "Fin textes";
// Every line of the manifest ends with these two bytes.
inline constexpr const char* kLineEnd = "\r\n";
// Sizes are 32-bit signed byte counts: no packed file reaches 2 GiB.
inline constexpr uint64_t kMaxFileSize = 2147483647;
// Manifest lines are at most this long: names are plain file names, which no file system
// takes longer, and the markers and sizes are shorter.
inline constexpr size_t kMaxLineLength = 255;
// The player stub beside the program (or in its private folder once installed), and the
// manifest while a build writes it in the program directory.
inline constexpr const char* kStubName = "model.ex_";
inline constexpr const char* kManifestName = "temp.txt";
// The card that the tool's preview builds there and plays; its window is titled "Card preview".
inline constexpr const char* kPreviewName = "Card preview.exe";
} // namespace cardpackage
