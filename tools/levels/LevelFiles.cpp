#include "tools/levels/LevelFiles.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace levels {

Level LoadLevelFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw LevelError(path + ": cannot open");
    }
    std::vector<char> data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    try {
        if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".txt") == 0) {
            return Level::FromText(std::string_view(data.data(), data.size()));
        }
        return Level::FromBytes(std::vector<uint8_t>(data.begin(), data.end()));
    } catch (const LevelError& e) {
        throw LevelError(path + ": " + e.what());
    }
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

} // namespace levels
