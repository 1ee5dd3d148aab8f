// Writing the card file: the player stub, the manifest, then every packed file.
#pragma once

#include "BuildServices.h"

#include <string>
#include <vector>

// Writes the card at `outputPath` from the player stub at `stub`, then the manifest `temp.txt`
// and the packed files named in `packedFiles`, both in `programDir` (which ends with "/"). Each
// packed file is deleted once appended, and the manifest at the end. The card is assembled in a
// file beside the output, read back through the package reader, and takes the output's name only
// when it reads back whole, marked executable: a failure leaves no partial card and an
// earlier card of that name as it was. A card that does not read back raises
// ECardPackageError.
void AssembleCard(const std::string& outputPath, const std::string& stub,
                  const std::string& programDir, const std::vector<std::string>& packedFiles,
                  BuildProgress& progress, FileSystem& files);
