// Writing a card script file (*.vlm): the events of the grid as records, every line ended by
// CR LF. Rows that hold none of the seven kinds (the header, the trailing empty row, empty
// rows a file left inside the list) write nothing.
#pragma once

#include "CardScript.h"

#include <stdexcept>
#include <string>

// A row holds a text that a line of the file cannot hold (a CR or a Ctrl-Z, in a path for
// instance): nothing is written, and the message names the row.
class EUnsavableScript : public std::runtime_error {
public:
    explicit EUnsavableScript(const std::string& message) : std::runtime_error(message) {}
};

// The file's bytes; EUnsavableScript for a row that cannot be written.
std::string ScriptFileText(const CardScript& script);

// Creates or replaces the file; a save that fails leaves the file it was replacing as it was.
void SaveScriptFile(const CardScript& script, const std::string& path);
