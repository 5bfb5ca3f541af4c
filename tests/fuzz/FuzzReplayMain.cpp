// Replays saved fuzz inputs through a harness's LLVMFuzzerTestOneInput: every file of the
// folders named on the command line, in name order. The first folder (the corpus) must hold
// at least one file; the others (saved crash inputs) may be missing or empty. A fault shows
// as a crash or a sanitizer report; the runner itself fails only when it cannot read a file.
#include "platform/files/RegularFile.h"
#include "platform/files/ResourceLimits.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.') {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS [CRASHES...]\n", argv[0]);
        return 2;
    }
    // Every file is listed, with its absolute path, before the first input runs: a harness may
    // change the current directory.
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::vector<std::filesystem::path> found = FilesOf(std::filesystem::absolute(argv[i]));
        if (i == 1 && found.empty()) {
            std::fprintf(stderr, "%s: no corpus files\n", argv[i]);
            return 1;
        }
        files.insert(files.end(), found.begin(), found.end());
    }
    for (const auto& file : files) {
        auto bytes = platform::RegularFile::ReadAll(file.string(), platform::kMaxToolFileBytes);
        if (!bytes) {
            std::fprintf(stderr, "%s: cannot read\n", file.c_str());
            return 1;
        }
        // An empty vector's data may be null; the harness gets a valid pointer either way.
        const uint8_t empty = 0;
        LLVMFuzzerTestOneInput(bytes->empty() ? &empty : bytes->data(), bytes->size());
    }
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
}
