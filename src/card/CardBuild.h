// "Build Card": turns the card script into a card file in one pass over its rows, writing the
// player script and the manifest as it goes, producing each packed file in the program
// directory, then assembling stub, manifest and packed files at the output path.
#pragma once

#include "BuildServices.h"
#include "CardScript.h"
#include "PictureServices.h"

#include <string>
#include <vector>

struct BuildServicesSet {
    PictureLoader& Pictures;
    BuildProgress& Progress;
    InformationSink& Messages;
    FileSystem& Files;
};

// Builds the card of `script` at `outputPath`; `programDir` ends with "/" and holds the stub
// and the intermediate files; every media file made there is added to `tempFiles`.
// True when the card was created and the success message shown; false when the build stopped
// on a missing source file or a text without its image, after showing why. Errors of files
// and pictures throw. In every case the progress window is hidden at the end and no partial
// card is left at the output path.
bool BuildCard(const CardScript& script, const std::string& programDir, const std::string& outputPath,
               std::vector<std::string>& tempFiles, const BuildServicesSet& services);
