// Saving a file so that a failure never destroys the one it replaces.
#pragma once

#include "FileIO.h"

#include <cstdint>
#include <span>
#include <string>

// A new file written beside `target`, which takes the target's place only once it is
// complete and on disk. Destroyed before that (an error while writing), it is removed and
// the target stays as it was. A target that exists keeps its permissions. Writing through a
// symbolic link replaces the file it names and keeps the link. Errors raise EInOutError with
// the program's texts.
class TFileBeside final : public TByteSink {
public:
    explicit TFileBeside(const std::string& target);
    ~TFileBeside() override;
    TFileBeside(const TFileBeside&) = delete;
    TFileBeside& operator=(const TFileBeside&) = delete;

    void Write(const uint8_t* data, size_t count) override;
    // Runnable by everyone who may read it, as a program should be.
    void MarkExecutable();
    void PlaceAtTarget();

private:
    std::string target_;
    std::string path_;
    int fd_ = -1;
    bool placed_ = false;
};

// Creates or replaces the file at `path` with exactly these bytes, through a TFileBeside.
void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);
