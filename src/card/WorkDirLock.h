// The program directory holds one build's working files at a time: the tool and any number
// of velmora-build processes share it, so each build, and the clean-up of what builds left
// there, holds this lock for its whole length.
#pragma once

#include <functional>
#include <optional>
#include <string>

class TWorkDirLock {
public:
    // Whose folder it is. The build folder beside the program is used as it stands. The
    // user's working folder in the cache must be a folder of the user's own, not a link to
    // somewhere else, and is kept private to the user, however it came to be there: another
    // user who could read or replace it could read or change the cards built there.
    enum Folder { BesideProgram, UsersOwn };

    // Waits for the lock on `dir` (which ends with "/"), calling `waiting` first when another
    // process holds it. A missing folder is made, private to the user; a folder that cannot
    // be made or opened, or a working folder of the user's that is not the user's own,
    // raises EInOutError.
    TWorkDirLock(const std::string& dir, Folder folder, const std::function<void()>& waiting);
    // The lock when nobody holds it; nothing otherwise (or when the folder cannot be opened,
    // or may not be used).
    static std::optional<TWorkDirLock> TryLock(const std::string& dir, Folder folder);
    ~TWorkDirLock();
    TWorkDirLock(TWorkDirLock&& other) noexcept;
    TWorkDirLock(const TWorkDirLock&) = delete;
    TWorkDirLock& operator=(const TWorkDirLock&) = delete;
    TWorkDirLock& operator=(TWorkDirLock&&) = delete;

    const std::string& Dir() const { return dir_; }

private:
    TWorkDirLock(std::string dir, int fd) : dir_(std::move(dir)), fd_(fd) {}
    std::string dir_;
    int fd_ = -1;
};
