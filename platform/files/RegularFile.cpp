#include "platform/files/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

std::optional<RegularFile> RegularFile::Open(const std::string& path) {
    std::string why;
    return Open(path, why);
}

std::optional<RegularFile> RegularFile::Open(const std::string& path, std::string& why) {
    // Opening some devices does something by itself (a serial line raises its modem lines, a
    // tape rewinds), so a name that is not a regular file is not opened at all.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    if (!S_ISREG(named.st_mode)) {
        why = "not a regular file";
        return std::nullopt;
    }
    // The name may be given another file in between: O_NONBLOCK keeps the open of a FIFO
    // without a writer from waiting for ever, and the type is checked again on the descriptor.
    int descriptor;
    do {
        descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        why = "not a regular file";
        return std::nullopt;
    }
    return RegularFile(descriptor, static_cast<uint64_t>(status.st_size));
}

std::optional<std::vector<uint8_t>> RegularFile::ReadAll(const std::string& path, std::size_t maxBytes) {
    std::optional<RegularFile> file = Open(path);
    if (!file || file->Size() > maxBytes) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(file->Size()));
    // A file that shrank since the open cannot be read to the size it had.
    if (file->Read(bytes.data(), bytes.size()) != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), size_(other.size_), readError_(other.readError_) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
    if (this != &other) {
        Close();
        descriptor_ = std::exchange(other.descriptor_, -1);
        size_ = other.size_;
        readError_ = other.readError_;
    }
    return *this;
}

RegularFile::~RegularFile() {
    Close();
}

void RegularFile::Close() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

std::size_t RegularFile::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(descriptor_, out + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            readError_ = errno;
            break;
        }
    }
    return done;
}

} // namespace platform
