// Reading and checking the package of a card file (layout in CardPackageFormat.h). The player
// reads its own card through this, and the builder's tests read the cards they build.
#pragma once

#include "CardFile.h"

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A package that breaks the layout; the message says what is wrong and where.
class ECardPackageError : public std::runtime_error {
public:
    explicit ECardPackageError(const std::string& message) : std::runtime_error(message) {}
};

// One packed file: its name in the manifest and where its bytes lie in the card file.
struct TPackedFile {
    std::string Name;
    uint64_t Offset = 0; // counted from the card file's first byte
    uint64_t Size = 0;
    bool operator==(const TPackedFile&) const = default;
};

class TCardPackage {
public:
    // Takes a whole card file whose package starts at `packageOffset` (the stub's size) and
    // checks the package to the last byte; throws ECardPackageError if anything is wrong.
    TCardPackage(std::vector<uint8_t> card, uint64_t packageOffset);
    // The same for an open card file, of which it reads only the manifest; the packed files
    // are read when asked for. Failing to read raises EInOutError.
    TCardPackage(TCardFile card, uint64_t packageOffset);
    // The same for a card file on disk.
    static TCardPackage Load(const std::string& cardPath, uint64_t packageOffset);

    // The packed files in manifest order; the player script is the last one.
    const std::vector<TPackedFile>& Files() const { return files_; }
    // The packed file of this name, or null.
    const TPackedFile* Find(std::string_view name) const;
    // The bytes of one of this package's files. A card read from disk reads them at the first
    // call and keeps them while the package lives (so this is not for several threads).
    std::span<const uint8_t> Contents(const TPackedFile& file) const;
    // A copy of the bytes of one of this package's files, read afresh and not kept.
    std::vector<uint8_t> Read(const TPackedFile& file) const;
    // The text of the player script, the last packed file.
    std::string_view PlayerScript() const;

private:
    void Check(uint64_t packageOffset);
    uint64_t Size() const;
    void ReadAt(uint64_t offset, std::span<uint8_t> into) const;
    void CheckInside(const TPackedFile& file) const;

    std::vector<uint8_t> card_;             // a card held in memory whole,
    std::shared_ptr<const TCardFile> file_; // or one read where its parts lie (shared by copies)
    std::vector<TPackedFile> files_;
    mutable std::map<std::pair<uint64_t, uint64_t>, std::vector<uint8_t>> read_; // for Contents
};
