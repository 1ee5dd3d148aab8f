#include "CardPackage.h"

#include "CardPackageFormat.h"
#include "FileIO.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw ECardPackageError("Card package: " + what);
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

// Hands out the manifest's lines one by one, insisting on printable ASCII and CR LF, so
// that a card written with other line ends or with binary junk in place of its manifest is
// named for what it is rather than misread.
class ManifestLines {
public:
    explicit ManifestLines(std::span<const uint8_t> package) : bytes_(package) {}

    std::string_view Next() {
        ++lineNumber_;
        for (size_t i = pos_; i < bytes_.size(); ++i) {
            const uint8_t b = bytes_[i];
            if (b == '\r') {
                if (i + 1 == bytes_.size() || bytes_[i + 1] != '\n')
                    FailHere("a CR not followed by LF (lines end with CR LF)");
                const std::string_view line(reinterpret_cast<const char*>(bytes_.data()) + pos_,
                                            i - pos_);
                pos_ = i + 2;
                return line;
            }
            if (b == '\n') FailHere("an LF not preceded by CR (lines end with CR LF)");
            if (b < 0x20 || b > 0x7E) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", unsigned(b));
                FailHere(std::string("byte ") + hex + ", which is not printable text");
            }
        }
        Fail(std::string("the manifest ends without its end marker ") +
             Quoted(cardpackage::kEndMarker));
    }

    [[noreturn]] void FailHere(const std::string& what) const {
        Fail("manifest line " + std::to_string(lineNumber_) + ": " + what);
    }

    size_t BytesRead() const { return pos_; }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    int lineNumber_ = 0;
};

// A plain file name: the player looks files up by these names and may write them out.
void CheckName(const ManifestLines& lines, std::string_view name) {
    if (name.empty()) lines.FailHere("an empty file name");
    if (name == "." || name == ".." || name.find_first_of("/\\") != std::string_view::npos)
        lines.FailHere(Quoted(name) + " is not a plain file name");
}

// Decimal in shortest form: digits only, no sign, no blank, no leading zero.
uint64_t ParseSize(const ManifestLines& lines, std::string_view text, std::string_view name) {
    const bool digitsOnly = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (!digitsOnly || (text.size() > 1 && text[0] == '0'))
        lines.FailHere("size " + Quoted(text) + " of " + Quoted(name) +
                       " is not a byte count in shortest decimal form");
    const std::string limit = std::to_string(cardpackage::kMaxFileSize);
    // Equal lengths of digit strings without leading zeros compare as their values do.
    if (text.size() > limit.size() || (text.size() == limit.size() && text > limit))
        lines.FailHere("size " + Quoted(text) + " of " + Quoted(name) + " exceeds the limit of " +
                       limit + " bytes");
    uint64_t value = 0;
    for (char c : text)
        value = value * 10 + uint64_t(c - '0');
    return value;
}

} // namespace

TCardPackage::TCardPackage(std::vector<uint8_t> card, uint64_t packageOffset)
    : card_(std::move(card)) {
    if (packageOffset >= card_.size())
        Fail("no package: the card file is " + std::to_string(card_.size()) +
             " bytes long and the package should start at offset " + std::to_string(packageOffset));
    const std::span<const uint8_t> package = std::span(card_).subspan(size_t(packageOffset));

    ManifestLines lines(package);
    const std::string_view start = cardpackage::kStartMarker;
    if (package.size() < start.size() || !std::equal(start.begin(), start.end(), package.begin()))
        Fail("no start marker " + Quoted(start) + " at offset " + std::to_string(packageOffset));
    if (lines.Next() != start) lines.FailHere("the start marker is followed by more text");

    // Offsets are relative to the packed data until the manifest's length is known.
    uint64_t dataSize = 0;
    std::set<std::string, std::less<>> names;
    for (std::string_view name = lines.Next(); name != cardpackage::kEndMarker;
         name = lines.Next()) {
        CheckName(lines, name);
        if (!names.emplace(name).second) lines.FailHere(Quoted(name) + " is listed twice");
        const uint64_t size = ParseSize(lines, lines.Next(), name);
        files_.push_back({std::string(name), dataSize, size});
        dataSize += size;
    }

    if (files_.empty())
        Fail("the manifest lists no file; " + Quoted(cardtext::kPlayerScriptName) +
             " must be the last");
    if (files_.back().Name != cardtext::kPlayerScriptName)
        Fail("the last packed file is " + Quoted(files_.back().Name) + "; it must be " +
             Quoted(cardtext::kPlayerScriptName));

    const uint64_t dataStart = packageOffset + lines.BytesRead();
    const uint64_t available = card_.size() - dataStart;
    if (dataSize > available)
        Fail("the packed files need " + std::to_string(dataSize) +
             " bytes after the manifest but the card file holds only " + std::to_string(available));
    if (dataSize < available)
        Fail(std::to_string(available) + " bytes follow the manifest but the packed files " +
             "account for only " + std::to_string(dataSize));
    for (TPackedFile& file : files_)
        file.Offset += dataStart;
}

TCardPackage TCardPackage::Load(const std::string& cardPath, uint64_t packageOffset) {
    return TCardPackage(fileio::ReadFileBytes(cardPath), packageOffset);
}

std::span<const uint8_t> TCardPackage::Contents(const TPackedFile& file) const {
    if (file.Offset > card_.size() || file.Size > card_.size() - file.Offset)
        throw std::out_of_range("Card package: " + Quoted(file.Name) +
                                " lies beyond the card file");
    return std::span(card_).subspan(size_t(file.Offset), size_t(file.Size));
}

std::string_view TCardPackage::PlayerScript() const {
    const std::span<const uint8_t> bytes = Contents(files_.back());
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}
