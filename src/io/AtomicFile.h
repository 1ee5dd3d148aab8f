// Files that appear whole or not at all: a save that fails, or a program killed half-way,
// never leaves a partial file under the name, nor a stray file beside it.
#pragma once

#include "FileIO.h"

#include <cstdint>
#include <span>
#include <string>

// A file that becomes `path` only once it is complete: it is made without a name in the
// folder of `path`, and takes the name when told. Destroyed before that, it vanishes; a
// killed program leaves nothing behind either, since the system frees a file that no name
// holds. Errors raise EInOutError with the program's texts.
class TUnnamedFile final : public TByteSink {
public:
    explicit TUnnamedFile(const std::string& path);
    ~TUnnamedFile() override;
    TUnnamedFile(const TUnnamedFile&) = delete;
    TUnnamedFile& operator=(const TUnnamedFile&) = delete;

    void Write(const uint8_t* data, size_t count) override;
    // Writes over bytes already written, from `offset` on (a header whose sizes come last).
    void WriteAt(uint64_t offset, const uint8_t* data, size_t count);
    uint64_t Size() const { return size_; }
    int Descriptor() const { return fd_; }
    // Puts the file at its path, in place of whatever entry stands there: a link or a special
    // file is replaced, never written through. The file is then closed.
    void GiveName();

private:
    std::string path_;
    std::string folder_;
    std::string scratchName_; // only where the file system cannot make a file without a name
    int fd_ = -1;
    uint64_t size_ = 0;
};

// When a complete file takes its name: once it is on disk, so that a crash of the machine just
// after cannot leave an empty file under the old name (cards, scripts, sound tracks); or at
// once, for the many small files that are made again at will (frames), whose wait for the
// disk would take longer than their making. Either way no partial file ever has the name.
enum class TNaming { OnDisk, AtOnce };

// A new file that takes the place of `target` once it is complete (and on disk, by default).
// A target that the user may not write is refused with "File access denied" and kept, and so
// is one that is not a regular file (a folder, a device, a pipe); the file that replaces a
// target keeps its permissions and, where the process may set them, its owner and group. A
// symbolic link is followed: the file it names is replaced and the link stays.
class TFileBeside final : public TByteSink {
public:
    explicit TFileBeside(const std::string& target);

    void Write(const uint8_t* data, size_t count) override { file_.Write(data, count); }
    void WriteAt(uint64_t offset, const uint8_t* data, size_t count) {
        file_.WriteAt(offset, data, count);
    }
    uint64_t Size() const { return file_.Size(); }
    // The new file, open for reading back what was written before it takes the target's place.
    int Descriptor() const { return file_.Descriptor(); }
    // Runnable by everyone who may read it, as a program should be.
    void MarkExecutable();
    void PlaceAtTarget(TNaming naming = TNaming::OnDisk);

private:
    std::string target_;
    TUnnamedFile file_;
};

// `path` with its folder resolved (links, "." and ".." in the folder's part) and its last name
// as it is, so that two paths naming one place compare equal. A folder that does not exist
// leaves the path as given.
std::string WithResolvedFolder(const std::string& path);
// Where TFileBeside puts a file saved as `path`: the link at `path` followed, then the folder
// resolved.
std::string PathWrittenBy(const std::string& path);

// Creates or replaces the file at `path` with exactly these bytes, through a TFileBeside.
void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                         TNaming naming = TNaming::OnDisk);
