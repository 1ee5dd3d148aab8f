// What the card build needs besides pictures: a place to show its progress, a way to tell the
// user why it stopped, and the few file operations it performs in the program directory.
#pragma once

#include <cstdint>
#include <string>

class BuildProgress {
public:
    virtual ~BuildProgress() = default;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Progresse(int percent) = 0;     // 0 to 100
    virtual void Labl(const std::string& text) = 0; // a CR starts a new line
};

// The information box: a notice with one OK button.
class InformationSink {
public:
    virtual ~InformationSink() = default;
    virtual void Information(const std::string& text) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // A regular file is there: not a directory, nor a FIFO or a device, which reading could
    // wait on for ever.
    virtual bool Exists(const std::string& path) = 0;
    // `to` appears once the copy is complete, in place of whatever stood there (a link is
    // replaced, never written through).
    virtual void Copy(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0; // a missing file is no error
    virtual int64_t Size(const std::string& path) = 0;
};

// The real file system; failures raise EInOutError with the program's texts.
class PosixFileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override;
    void Copy(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
    int64_t Size(const std::string& path) override;
};
