#include "platform/files/WholeFile.h"

#include "platform/files/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace platform {

namespace {
std::string TooLarge(std::size_t maxBytes) {
    return "too large (more than " + std::to_string(maxBytes) + " bytes)";
}
} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& error) {
    std::string why;
    std::optional<RegularFile> file = RegularFile::Open(path, why);
    if (!file) {
        error = "cannot open: " + why;
        return std::nullopt;
    }
    if (file->Size() > maxBytes) {
        error = TooLarge(maxBytes);
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(file->Size()), '\0');
    text.resize(file->Read(text.data(), text.size()));
    if (file->ReadError() != 0) {
        error = std::string("cannot read: ") + std::strerror(file->ReadError());
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> ReadWholeStream(int descriptor, std::size_t maxBytes, std::string& error) {
    constexpr std::size_t kBlock = 64 * 1024;
    std::string text;
    for (;;) {
        const std::size_t had = text.size();
        text.resize(had + kBlock);
        const ssize_t n = ::read(descriptor, text.data() + had, kBlock);
        if (n < 0 && errno == EINTR) {
            text.resize(had);
            continue;
        }
        if (n < 0) {
            error = std::string("cannot read: ") + std::strerror(errno);
            return std::nullopt;
        }
        text.resize(had + static_cast<std::size_t>(n));
        if (text.size() > maxBytes) {
            error = TooLarge(maxBytes);
            return std::nullopt;
        }
        if (n == 0) {
            return text;
        }
    }
}

} // namespace platform
