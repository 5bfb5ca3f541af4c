#include "demo/InstalledLevels.h"

#include <vector>

namespace {

const std::vector<LevelDigest>& Table() {
    static const std::vector<LevelDigest> table = {
#include "InstalledLevelDigests.inc"
    };
    return table;
}

} // namespace

std::span<const LevelDigest> InstalledLevels::Digests() {
    return Table();
}

const LevelDigest* InstalledLevels::Find(const std::string& fileName) {
    for (const LevelDigest& level : Table()) {
        if (level.FileName == fileName) {
            return &level;
        }
    }
    return nullptr;
}

bool InstalledLevels::Matches(const LevelDigest& opened) {
    const LevelDigest* installed = Find(opened.FileName);
    return installed && *installed == opened;
}
