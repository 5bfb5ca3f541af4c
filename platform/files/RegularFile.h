#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A file that a user can replace, opened for reading only when it is a regular file. The open
// never blocks: a FIFO, a device, a folder or a socket under the expected name is refused as
// "not openable", like a missing file, instead of hanging on the open or failing on the read.
class RegularFile {
public:
    // The opened file, or nothing when `path` is missing, unreadable or not a regular file.
    static std::optional<RegularFile> Open(const std::string& path);
    // Open, and when it fails, why: the system's reason ("No such file or directory") or "not a
    // regular file".
    static std::optional<RegularFile> Open(const std::string& path, std::string& why);
    // The whole content of a regular file of at most `maxBytes` bytes; nothing when it is not
    // openable, larger than that, or cannot be read to the end.
    static std::optional<std::vector<uint8_t>> ReadAll(const std::string& path, std::size_t maxBytes);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    // The size the file had when it was opened.
    uint64_t Size() const { return size_; }
    // Reads up to `count` bytes from the current position; fewer only at the end of the file
    // or on a read error, which ReadError then tells.
    std::size_t Read(void* buffer, std::size_t count);
    // The system's error number of a read that failed, 0 while none has.
    int ReadError() const { return readError_; }

private:
    RegularFile(int descriptor, uint64_t size) : descriptor_(descriptor), size_(size) {}
    void Close();

    int descriptor_ = -1;
    uint64_t size_ = 0;
    int readError_ = 0;
};

} // namespace platform
