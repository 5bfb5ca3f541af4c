#include "platform/files/AtomicFile.h"

#include "platform/base/ControlEscape.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Message(const std::string& path, const std::string& what) {
    return EscapeControls(path) + ": " + what;
}

std::string Cause(const char* what, int error) {
    return std::string(what) + ": " + std::strerror(error);
}

// A name beside the target that no other writer picks: the process, a counter and the clock.
std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const auto now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".tmp%ld-%u-%llx", static_cast<long>(::getpid()), counter++,
                  now & 0xffffffffull);
    return path + suffix;
}

// Makes the folder's entries lasting too; a folder that cannot be synced changes nothing.
void SyncFolder(const std::string& path) {
    const int folder = ::open(Folder(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

// Renames `from` to `to` unless `to` exists; errno EEXIST when it does.
int RenameWithoutReplacing(const std::string& from, const std::string& to) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
#endif
    // A second name, which cannot replace a file, then the first one dropped.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno == EEXIST) {
        return -1;
    }
    // A file system without links: the target's absence is checked just before.
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

} // namespace

AtomicFile::AtomicFile(std::string path, Existing existing) : path_(std::move(path)), existing_(existing) {
    if (path_.empty()) {
        throw FileWriteError("an empty name cannot be written");
    }
    mode_t mode = 0666;
    struct stat status {};
    if (::stat(path_.c_str(), &status) == 0) {
        if (!S_ISREG(status.st_mode)) {
            throw FileWriteError(Message(path_, "not a regular file, so it is not written"));
        }
        if (existing_ == Existing::Refuse) {
            throw FileWriteError(Message(path_, "already exists"), true);
        }
        mode = status.st_mode & 07777;
    } else if (errno != ENOENT) {
        throw FileWriteError(Message(path_, Cause("cannot write", errno)));
    }
    for (int attempt = 0; descriptor_ < 0; ++attempt) {
        temporary_ = TemporaryName(path_);
        descriptor_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ < 0 && (errno != EEXIST || attempt >= 100)) {
            throw FileWriteError(Message(path_, Cause("cannot write", errno)));
        }
    }
    // A replaced file keeps its permissions; a new one has those the user's mask gives.
    if (mode != 0666) {
        ::fchmod(descriptor_, mode);
    }
}

AtomicFile::~AtomicFile() {
    CloseDescriptor();
    if (!committed_ && !temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

bool AtomicFile::Fail(const char* what, int error) {
    if (error_.empty()) {
        error_ = Message(path_, Cause(what, error));
    }
    return false;
}

void AtomicFile::CloseDescriptor() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

bool AtomicFile::Write(std::string_view bytes) {
    if (descriptor_ < 0 || Failed()) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(descriptor_, bytes.data(), bytes.size());
        if (n > 0) {
            size_ += static_cast<uint64_t>(n);
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return Fail("cannot write", n < 0 ? errno : ENOSPC);
        }
    }
    return true;
}

bool AtomicFile::Truncate(uint64_t size) {
    if (descriptor_ < 0 || size > size_) {
        return false;
    }
    if (::ftruncate(descriptor_, static_cast<off_t>(size)) != 0 ||
        ::lseek(descriptor_, static_cast<off_t>(size), SEEK_SET) < 0) {
        return Fail("cannot cut the file back", errno);
    }
    size_ = size;
    return true;
}

bool AtomicFile::Commit() {
    if (descriptor_ < 0) {
        return false;
    }
    const int descriptor = descriptor_;
    descriptor_ = -1;
    const bool synced = ::fsync(descriptor) == 0 || Fail("cannot write", errno);
    const bool closed = ::close(descriptor) == 0 || Fail("cannot write", errno);
    if (!synced || !closed) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    return PutInPlace();
}

bool AtomicFile::PutInPlace() {
    if (existing_ == Existing::Replace) {
        if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
            const int error = errno;
            ::unlink(temporary_.c_str());
            temporary_.clear();
            return Fail("cannot write", error);
        }
    } else if (RenameWithoutReplacing(temporary_, path_) != 0) {
        // A file made under the name meanwhile is not replaced; what was written stays beside it.
        const int error = errno;
        committed_ = true;
        if (error_.empty()) {
            error_ = error == EEXIST ? Message(path_, "was made by someone else meanwhile; this file is kept as " +
                                                          EscapeControls(temporary_))
                                     : Message(path_, Cause("cannot write", error));
        }
        return false;
    }
    committed_ = true;
    SyncFolder(path_);
    return true;
}

std::string WriteFileAtomically(const std::string& path, std::string_view bytes, AtomicFile::Existing existing) {
    try {
        AtomicFile file(path, existing);
        if (!file.Write(bytes) || !file.Commit()) {
            return file.Error();
        }
    } catch (const FileWriteError& e) {
        return e.what();
    }
    return {};
}

} // namespace platform
