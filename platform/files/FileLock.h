#pragma once

#include <string>

namespace platform {

// An advisory lock (flock) on a file, held while the object lives. Processes that take the same
// file's lock exclusively run one after the other; a shared lock keeps out only exclusive ones.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };

    // Takes the lock on `path`, making the file when `create` and it is missing; waits for it when
    // `wait`, else gives up at once. Held() tells whether it was taken.
    FileLock(const std::string& path, Mode mode, bool wait, bool create = true);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return held_; }

private:
    int descriptor_ = -1;
    bool held_ = false;
};

} // namespace platform
