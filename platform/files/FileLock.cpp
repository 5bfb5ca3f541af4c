#include "platform/files/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

FileLock::FileLock(const std::string& path, Mode mode, bool wait, bool create) {
    // Non-blocking open: a FIFO under the name must not hold the program.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | (create ? O_CREAT : 0);
    descriptor_ = ::open(path.c_str(), flags, 0644);
    if (descriptor_ < 0) {
        return;
    }
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | (wait ? 0 : LOCK_NB);
    int result = 0;
    do {
        result = ::flock(descriptor_, operation);
    } while (result != 0 && errno == EINTR);
    held_ = result == 0;
}

FileLock::~FileLock() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

} // namespace platform
