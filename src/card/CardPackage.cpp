#include "CardPackage.h"

#include "CardPackageFormat.h"
#include "FileIO.h"

#include <algorithm>
#include <cstdio>
#include <functional>
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

// A name or size quoted in a message, cut short so that a forged line of any length still
// makes a message that a person can read.
std::string Excerpt(std::string_view text) {
    constexpr size_t kShown = 40;
    return text.size() <= kShown ? Quoted(text)
                                 : Quoted(std::string(text.substr(0, kShown)) + "...");
}

// Hands out the manifest's lines one by one, insisting on printable ASCII, CR LF and lines of
// at most kMaxLineLength bytes, so that a card written with other line ends or with binary
// junk in place of its manifest is named for what it is rather than misread. The bytes are
// read a block at a time from wherever the card is.
class ManifestLines {
public:
    using Reader = std::function<void(uint64_t offset, std::span<uint8_t> into)>;

    ManifestLines(Reader read, uint64_t start, uint64_t end)
        : read_(std::move(read)), pos_(start), start_(start), end_(end) {}

    std::string Next() {
        ++lineNumber_;
        std::string line;
        for (;;) {
            if (pos_ == end_)
                Fail(std::string("the manifest ends without its end marker ") +
                     Quoted(cardpackage::kEndMarker));
            const uint8_t b = Byte(pos_++);
            if (b == '\r') {
                if (pos_ == end_ || Byte(pos_) != '\n')
                    FailHere("a CR not followed by LF (lines end with CR LF)");
                ++pos_;
                return line;
            }
            if (b == '\n') FailHere("an LF not preceded by CR (lines end with CR LF)");
            if (b < 0x20 || b > 0x7E) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", unsigned(b));
                FailHere(std::string("byte ") + hex + ", which is not printable text");
            }
            if (line.size() == cardpackage::kMaxLineLength)
                FailHere("a line longer than " + std::to_string(cardpackage::kMaxLineLength) +
                         " bytes, " + Excerpt(line));
            line += char(b);
        }
    }

    [[noreturn]] void FailHere(const std::string& what) const {
        Fail("manifest line " + std::to_string(lineNumber_) + ": " + what);
    }

    uint64_t BytesRead() const { return pos_ - start_; }

private:
    uint8_t Byte(uint64_t at) {
        if (at < blockStart_ || at >= blockStart_ + block_.size()) {
            block_.resize(size_t(std::min<uint64_t>(kBlock, end_ - at)));
            read_(at, block_);
            blockStart_ = at;
        }
        return block_[size_t(at - blockStart_)];
    }

    static constexpr uint64_t kBlock = 4096;
    Reader read_;
    std::vector<uint8_t> block_;
    uint64_t blockStart_ = 0;
    uint64_t pos_, start_, end_;
    int lineNumber_ = 0;
};

// A plain file name: the player looks files up by these names and may write them out.
void CheckName(const ManifestLines& lines, std::string_view name) {
    if (name.empty()) lines.FailHere("an empty file name");
    if (name == "." || name == ".." || name.find_first_of("/\\") != std::string_view::npos)
        lines.FailHere(Excerpt(name) + " is not a plain file name");
}

// Decimal in shortest form: digits only, no sign, no blank, no leading zero.
uint64_t ParseSize(const ManifestLines& lines, std::string_view text, std::string_view name) {
    const bool digitsOnly = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (!digitsOnly || (text.size() > 1 && text[0] == '0'))
        lines.FailHere("size " + Excerpt(text) + " of " + Excerpt(name) +
                       " is not a byte count in shortest decimal form");
    const std::string limit = std::to_string(cardpackage::kMaxFileSize);
    // Equal lengths of digit strings without leading zeros compare as their values do.
    if (text.size() > limit.size() || (text.size() == limit.size() && text > limit))
        lines.FailHere("size " + Excerpt(text) + " of " + Excerpt(name) + " exceeds the limit of " +
                       limit + " bytes");
    uint64_t value = 0;
    for (char c : text)
        value = value * 10 + uint64_t(c - '0');
    return value;
}

} // namespace

TCardPackage::TCardPackage(std::vector<uint8_t> card, uint64_t packageOffset)
    : card_(std::move(card)) {
    Check(packageOffset);
}

TCardPackage::TCardPackage(TCardFile card, uint64_t packageOffset)
    : file_(std::make_shared<const TCardFile>(std::move(card))) {
    Check(packageOffset);
}

TCardPackage TCardPackage::Load(const std::string& cardPath, uint64_t packageOffset) {
    return TCardPackage(TCardFile(cardPath), packageOffset);
}

uint64_t TCardPackage::Size() const {
    return file_ ? file_->Size() : card_.size();
}

void TCardPackage::ReadAt(uint64_t offset, std::span<uint8_t> into) const {
    if (file_)
        file_->ReadAt(offset, into);
    else
        std::copy_n(card_.begin() + ptrdiff_t(offset), into.size(), into.begin());
}

void TCardPackage::Check(uint64_t packageOffset) {
    const uint64_t size = Size();
    if (packageOffset >= size)
        Fail("no package: the card file is " + std::to_string(size) +
             " bytes long and the package should start at offset " + std::to_string(packageOffset));

    const std::string_view start = cardpackage::kStartMarker;
    std::vector<uint8_t> head(size_t(std::min<uint64_t>(start.size(), size - packageOffset)));
    ReadAt(packageOffset, head);
    if (!std::equal(start.begin(), start.end(), head.begin(), head.end()))
        Fail("no start marker " + Quoted(start) + " at offset " + std::to_string(packageOffset));
    ManifestLines lines([this](uint64_t at, std::span<uint8_t> into) { ReadAt(at, into); },
                        packageOffset, size);
    if (lines.Next() != start) lines.FailHere("the start marker is followed by more text");

    // Offsets are relative to the packed data until the manifest's length is known.
    uint64_t dataSize = 0;
    std::set<std::string, std::less<>> names;
    for (std::string name = lines.Next(); name != cardpackage::kEndMarker; name = lines.Next()) {
        CheckName(lines, name);
        if (!names.emplace(name).second) lines.FailHere(Quoted(name) + " is listed twice");
        const uint64_t fileSize = ParseSize(lines, lines.Next(), name);
        files_.push_back({name, dataSize, fileSize});
        dataSize += fileSize;
    }

    if (files_.empty())
        Fail("the manifest lists no file; " + Quoted(cardtext::kPlayerScriptName) +
             " must be the last");
    if (files_.back().Name != cardtext::kPlayerScriptName)
        Fail("the last packed file is " + Quoted(files_.back().Name) + "; it must be " +
             Quoted(cardtext::kPlayerScriptName));

    const uint64_t dataStart = packageOffset + lines.BytesRead();
    const uint64_t available = size - dataStart;
    if (dataSize > available)
        Fail("the packed files need " + std::to_string(dataSize) +
             " bytes after the manifest but the card file holds only " + std::to_string(available));
    if (dataSize < available)
        Fail(std::to_string(available) + " bytes follow the manifest but the packed files " +
             "account for only " + std::to_string(dataSize));
    for (TPackedFile& file : files_)
        file.Offset += dataStart;
}

const TPackedFile* TCardPackage::Find(std::string_view name) const {
    const auto found = std::find_if(files_.begin(), files_.end(),
                                    [&](const TPackedFile& file) { return file.Name == name; });
    return found == files_.end() ? nullptr : &*found;
}

void TCardPackage::CheckInside(const TPackedFile& file) const {
    if (file.Offset > Size() || file.Size > Size() - file.Offset)
        throw std::out_of_range("Card package: " + Excerpt(file.Name) +
                                " lies beyond the card file");
}

std::vector<uint8_t> TCardPackage::Read(const TPackedFile& file) const {
    CheckInside(file);
    std::vector<uint8_t> bytes(size_t(file.Size));
    ReadAt(file.Offset, bytes);
    return bytes;
}

std::span<const uint8_t> TCardPackage::Contents(const TPackedFile& file) const {
    CheckInside(file);
    if (!file_) return std::span(card_).subspan(size_t(file.Offset), size_t(file.Size));
    const auto key = std::pair(file.Offset, file.Size);
    auto found = read_.find(key);
    if (found == read_.end()) found = read_.emplace(key, Read(file)).first;
    return found->second;
}

std::string_view TCardPackage::PlayerScript() const {
    const std::span<const uint8_t> bytes = Contents(files_.back());
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}
