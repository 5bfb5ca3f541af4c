#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// A file that cannot be written, or a target that may not be: the message names the file and
// the cause, as "out.vrk: cannot write: No space left on device".
class FileWriteError : public std::runtime_error {
public:
    explicit FileWriteError(const std::string& message, bool targetExists = false)
        : std::runtime_error(message), TargetExists(targetExists) {}
    // The target was refused because a file of that name exists.
    bool TargetExists;
};

// A file written under a temporary name in its target's folder and put in the target's place
// only by Commit, once its bytes are on the disk: a crash, a full disk or an error before then
// leaves an old file under the target's name whole. Only a regular file or a new name can be a
// target; a FIFO, a device or a folder is refused before anything is written.
class AtomicFile {
public:
    enum class Existing {
        Replace, // an existing file is replaced by Commit
        Refuse,  // an existing file is refused, at the start and again at Commit
    };

    // Makes the temporary file; raises FileWriteError when the target is not a regular file or
    // a new name, exists and may not be replaced, or the temporary file cannot be made.
    AtomicFile(std::string path, Existing existing);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends the bytes; false (Error says why) when not all of them could be written. Size
    // tells how many were. Nothing is written after a failure.
    bool Write(std::string_view bytes);
    // Cuts the file back to its first `size` bytes, as after a write that failed part-way.
    bool Truncate(uint64_t size);
    // Bytes in the file.
    uint64_t Size() const { return size_; }
    // Flushes the bytes to the disk, closes the file and renames it over the target. False
    // (Error says why) when any step fails; the temporary file is removed then and the target
    // left as it was. A file whose writes failed is committed with what it holds.
    bool Commit();

    // The first failure, as a whole message naming the target ("" while there is none).
    const std::string& Error() const { return error_; }
    bool Failed() const { return !error_.empty(); }
    const std::string& Path() const { return path_; }
    const std::string& TemporaryPath() const { return temporary_; }

private:
    bool Fail(const char* what, int error);
    void CloseDescriptor();
    bool PutInPlace();

    std::string path_;
    std::string temporary_;
    Existing existing_;
    int descriptor_ = -1;
    uint64_t size_ = 0;
    bool committed_ = false;
    std::string error_;
};

// Writes `bytes` as the whole new content of `path` through an AtomicFile. Returns "" when
// done, else the message of what failed.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes,
                                AtomicFile::Existing existing = AtomicFile::Existing::Replace);

} // namespace platform
