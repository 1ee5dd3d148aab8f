// Runs the user's commands.
#pragma once

#include "Dialogs.h"

#include <functional>

// Runs one user command. An exception that escapes it (a file that cannot be read or written,
// a picture the codec refuses) ends the command and its message goes to the application's
// error box; the program goes on. Every control of every window runs its command this way.
void RunCommand(Dialogs& dialogs, const std::function<void()>& command);
