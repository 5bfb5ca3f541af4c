#include "demo/LevelDigests.h"

#include "game/LevelFolder.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"
#include "platform/files/RegularFile.h"

#include <xxhash.h>

#include <optional>
#include <string_view>
#include <unordered_set>

namespace {
// A level file holds one record of 22 columns by 16 rows; the game reads no more than that.
constexpr std::size_t kLevelRecordBytes = 22 * 16;
} // namespace

uint64_t LevelDigests::Of(std::span<const uint8_t> bytes) {
    return XXH64(bytes.data(), bytes.size(), 0);
}

LevelDigest LevelDigests::OfFile(const std::string& fileName) {
    LevelDigest digest;
    digest.FileName = fileName;
    uint8_t record[kLevelRecordBytes];
    // Opened and read as the level loader does, in the level folder in use.
    std::optional<platform::RegularFile> file = platform::RegularFile::Open(LevelFolder::PathOf(fileName));
    if (file) {
        digest.Bytes = file->Read(record, sizeof record);
    }
    digest.Hash = Of(std::span<const uint8_t>(record, digest.Bytes));
    return digest;
}

std::vector<std::string> LevelDigests::Differing(const Demo& demo) {
    std::vector<std::string> names;
    // Each file is read once for each digest it was recorded with and named once however often
    // it differs; sets keep that linear in the number of level lines.
    struct Hash {
        std::size_t operator()(const LevelDigest* d) const {
            return std::hash<std::string_view>()(d->FileName) ^ static_cast<std::size_t>(d->Hash) ^ d->Bytes;
        }
    };
    struct Same {
        bool operator()(const LevelDigest* a, const LevelDigest* b) const { return *a == *b; }
    };
    std::unordered_set<const LevelDigest*, Hash, Same> checked;
    std::unordered_set<std::string_view> reported;
    for (const LevelDigest& recorded : demo.Levels) {
        if (!checked.insert(&recorded).second || reported.contains(recorded.FileName)) {
            continue;
        }
        const LevelDigest now = OfFile(recorded.FileName);
        if (now.Bytes != recorded.Bytes || now.Hash != recorded.Hash) {
            reported.insert(recorded.FileName);
            names.push_back(recorded.FileName);
        }
    }
    return names;
}

std::string LevelDigests::DifferingMessage(const std::string& fileName) {
    return Fill(Tr("demo was recorded with another {}"), {platform::EscapeControls(fileName)});
}
