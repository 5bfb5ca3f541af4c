#include "level/LevelFiles.h"

#include "platform/base/FillText.h"
#include "platform/base/Translate.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/RegularFile.h"
#include "platform/files/ResourceLimits.h"

#include <stdexcept>

namespace levels {

Level LoadLevelFile(const std::string& path) {
    std::vector<uint8_t> data;
    try {
        data = ReadFileBytes(path);
    } catch (const std::runtime_error&) {
        throw LevelError(Fill(Tr("{}: cannot open"), {path}));
    }
    try {
        if (IsSourcePath(path)) {
            return Level::FromText(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
        }
        return Level::FromBytes(data);
    } catch (const LevelError& e) {
        throw LevelError(path + ": " + e.what());
    }
}

bool IsSourcePath(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".txt") == 0;
}

bool SaveLevelFile(const std::string& path, const Level& level, const std::vector<std::string>& comments,
                   std::string& error) {
    if (IsSourcePath(path)) {
        error = platform::WriteFileAtomically(path, level.ToText(comments));
        return error.empty();
    }
    const std::vector<uint8_t> bytes = level.ToBytes();
    error = platform::WriteFileAtomically(path,
                                          std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return error.empty();
}

int LevelNumberOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    int number = 0;
    for (char c : base) {
        if (c >= '0' && c <= '9') {
            number = number * 10 + (c - '0');
        } else if (c == '.') {
            break;
        }
    }
    return number;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    // Only regular files: a FIFO or a device given by mistake is refused instead of waited on.
    std::optional<std::vector<uint8_t>> bytes = platform::RegularFile::ReadAll(path, platform::kMaxToolFileBytes);
    if (!bytes) {
        throw std::runtime_error(Fill(Tr("{}: cannot open"), {path}));
    }
    return std::move(*bytes);
}

} // namespace levels
