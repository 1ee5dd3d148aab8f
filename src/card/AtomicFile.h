// Saving a file so that a failure never destroys the one it replaces.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// Creates or replaces the file at `path` with exactly these bytes. They are written to a new
// file beside it, which takes the old one's place only once it is complete and on disk: a
// save that fails (disk full, no right to write) leaves the old file as it was and removes
// the new one. Errors raise EInOutError with the program's texts. Saving through a symbolic
// link replaces the file it names and keeps the link.
void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);
