// Writing a card script file (*.vlm): the events of the grid as records, every line ended by
// CR LF. Rows that hold none of the seven kinds (the header, the trailing empty row, empty
// rows a file left inside the list) write nothing.
#pragma once

#include "CardScript.h"

#include <string>

// The file's bytes.
std::string ScriptFileText(const CardScript& script);

// Creates or replaces the file; a save that fails leaves the file it was replacing as it was.
void SaveScriptFile(const CardScript& script, const std::string& path);
