// Reading and checking the package of a card file (layout in CardPackageFormat.h). The player
// reads its own card through this, and the builder's tests read the cards they build.
#pragma once

#include <cstdint>
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
    // The same for a card file on disk; failing to read it raises EInOutError.
    static TCardPackage Load(const std::string& cardPath, uint64_t packageOffset);

    // The packed files in manifest order; the player script is the last one.
    const std::vector<TPackedFile>& Files() const { return files_; }
    // The bytes of one of this package's files.
    std::span<const uint8_t> Contents(const TPackedFile& file) const;
    // The text of the player script, the last packed file.
    std::string_view PlayerScript() const;

private:
    std::vector<uint8_t> card_;
    std::vector<TPackedFile> files_;
};
