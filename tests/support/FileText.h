#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The whole of a file as bytes; empty when it cannot be read.
inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
