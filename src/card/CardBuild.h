// "Build Card": turns the card script into a card file in one pass over its rows, writing the
// player script and the manifest as it goes, producing each packed file in the program
// directory, then assembling stub, manifest and packed files at the output path.
#pragma once

#include "BuildServices.h"
#include "CardScript.h"
#include "PictureServices.h"
#include "WorkDirLock.h"

#include <optional>
#include <string>
#include <vector>

struct BuildServicesSet {
    PictureLoader& Pictures;
    BuildProgress& Progress;
    InformationSink& Messages;
    FileSystem& Files;
};

// Builds the card of `script` at `outputPath` on the player stub at `stub`. The program
// directory, whose lock the caller holds, holds the intermediate files; every file made there
// is added to `tempFiles` before it is made. True when the card was created, read back whole and
// the success message shown; false when the card stopped the build, after showing why: an output
// that is the stub or a working file of the build (nothing is written then), a missing source
// file, a text without its image, a Timing or a packed file too large for the card. Errors of
// files and pictures throw, and so does a card that does not read back. In every case the
// progress window is hidden at the end and no partial card is left at the output path.
bool BuildCard(const CardScript& script, const std::string& stub, const TWorkDirLock& workDir,
               const std::string& outputPath, std::vector<std::string>& tempFiles,
               const BuildServicesSet& services);

// The same build into the program directory's preview card, which is listed in `tempFiles`
// like the other working files, with no success message: the card's path once created,
// nothing when the card stopped the build. Build Card refuses that path as its output.
std::optional<std::string> BuildPreviewCard(const CardScript& script, const std::string& stub,
                                            const TWorkDirLock& workDir,
                                            std::vector<std::string>& tempFiles,
                                            const BuildServicesSet& services);
