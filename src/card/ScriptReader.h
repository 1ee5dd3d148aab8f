// Opening a card script file (*.vlm): its records replace the events of the card script and
// every text image is rendered again on its background picture. The main window's Open and
// the command-line builder both load scripts through here, so they read them alike.
#pragma once

#include "BuildServices.h"
#include "CardScript.h"
#include "FileIO.h"
#include "PictureServices.h"

#include <string>
#include <vector>

struct ScriptLoadServices {
    TextImageRenderer& Renderer;
    InformationSink& Messages;
    FileSystem& Files; // whether a text's background picture is still there
};

// Replaces every row after the header by the records of `source`, row 1 first, whatever its
// kind, then the trailing empty row, and selects row 1. A kind word that matches no record
// leaves an empty row and reading goes on. Each Text record gets its TDataTexte and its image,
// rendered on the picture of the nearest Background row above it, and the name that image
// will have in `programDir` joins `tempFiles`.
//
// True when the whole file was read. A Text record whose picture is missing stops the
// loading: the answer is false and the notice "The picture '...' has not been found." goes to
// Messages once the list is in order. File errors, a number field that is not a number and
// the renderer's errors are thrown, also once the list is in order. "In order" means: the rows
// read before stay, the row of the record that could not be finished is dropped, the list ends
// with its trailing empty row, and a load that brought no event at all leaves the list of a
// new card (the window opening, then the trailing row, selected), so Insert works again.
bool LoadScript(TByteSource& source, CardScript& script, const std::string& programDir,
                std::vector<std::string>& tempFiles, const ScriptLoadServices& services);

// The same from a file, or a pipe read to its end. A file that cannot be opened throws before
// the list is touched.
bool LoadScriptFile(const std::string& path, CardScript& script, const std::string& programDir,
                    std::vector<std::string>& tempFiles, const ScriptLoadServices& services);

// Whether a list that a load filled holds any event of the file. A load that brought none
// leaves the list of a new card, which a file could hold as well; this tells them apart.
bool LoadedAnyEvent(const CardScript& loaded);
