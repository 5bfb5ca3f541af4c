#include "platform/files/XdgFolder.h"

#include <cstdlib>

namespace platform {

std::string XdgFolder(const char* variable, const char* belowHome) {
    const char* value = std::getenv(variable);
    // A relative path in the variable is ignored, as the rules say.
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        return {};
    }
    std::string folder = home;
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder + belowHome;
}

} // namespace platform
