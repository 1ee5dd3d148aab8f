// The intermediate files that a session leaves in the program directory.
#pragma once

#include "WorkDirLock.h"

#include <string>
#include <vector>

// Deletes, in list order, every listed file that still exists, then the player script in the
// program directory, whose lock the caller holds so that no running build loses its files.
// Directories are never removed, and a file that cannot be deleted is left without a word:
// this runs as the program ends, when the user can do nothing about it.
void DeleteIntermediateFiles(const std::vector<std::string>& tempFiles,
                             const TWorkDirLock& workDir);
