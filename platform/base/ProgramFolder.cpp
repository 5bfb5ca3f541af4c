#include "platform/base/ProgramFolder.h"

#include <filesystem>

namespace platform {

std::string ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : program.parent_path().string();
}

} // namespace platform
