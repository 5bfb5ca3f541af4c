#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A fresh empty folder made the current directory for a test (the game reads its level
// files from the current directory); the old directory comes back afterwards.
class ScratchFolder {
public:
    ScratchFolder() : old_(std::filesystem::current_path()) {
        path_ = std::filesystem::temp_directory_path() /
                ("vorkalith-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(old_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes a file, making the folders of a name like "a/b/c.txt".
    void Write(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    static inline int counter_ = 0;
    std::filesystem::path old_;
    std::filesystem::path path_;
};
