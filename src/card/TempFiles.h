// The intermediate files that a session leaves in the program directory.
#pragma once

#include <string>
#include <vector>

// Deletes, in list order, every listed file that still exists, then the player script in
// `programDir` (which ends with the path separator). Directories are never removed, and a
// file that cannot be deleted is left without a word: this runs as the program ends, when
// the user can do nothing about it.
void DeleteIntermediateFiles(const std::vector<std::string>& tempFiles,
                             const std::string& programDir);
