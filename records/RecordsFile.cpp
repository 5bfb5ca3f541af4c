#include "records/RecordsFile.h"

#include "platform/base/ControlEscape.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FileLock.h"
#include "platform/files/WholeFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace {

constexpr int kFormat = 1;

// A name beside `path` for its damaged copy: the local date and time, and a number when that is taken.
std::string DamagedName(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = path + ".damaged-" + stamp;
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(name, ec)); ++n) {
        name = path + ".damaged-" + stamp + "-" + std::to_string(n);
    }
    return name;
}

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

RecordsFile::RecordsFile(std::string folder) : folder_(std::move(folder)), path_(folder_ + "/records.json") {}

std::string RecordsFile::Format(const std::vector<RunRecord>& table) {
    nlohmann::json runs = nlohmann::json::array();
    for (const RunRecord& run : table) {
        runs.push_back(run.Json());
    }
    return nlohmann::json{{"Format", kFormat}, {"Runs", runs}}.dump(1, ' ', false,
                                                                    nlohmann::json::error_handler_t::replace) +
           "\n";
}

bool RecordsFile::Parse(const std::string& text, std::vector<RunRecord>& table, std::string& why) {
    const nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
    if (value.is_discarded()) {
        why = "not JSON";
        return false;
    }
    if (!value.is_object() || value.value("Format", 0) != kFormat || !value.contains("Runs") ||
        !value["Runs"].is_array()) {
        why = "not a records table of format " + std::to_string(kFormat);
        return false;
    }
    table.clear();
    for (const nlohmann::json& entry : value["Runs"]) {
        std::optional<RunRecord> run = RunRecord::FromJson(entry);
        if (!run) {
            why = "run " + std::to_string(table.size() + 1) + " is incomplete";
            return false;
        }
        table.push_back(std::move(*run));
    }
    std::sort(table.begin(), table.end(), RunRecord::Before);
    return true;
}

RecordsUpdate RecordsFile::Load() const {
    RecordsUpdate result;
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path_, ec))) {
        return result;
    }
    std::string error;
    const std::optional<std::string> text = platform::ReadWholeFile(path_, kMaxBytes, error);
    std::string why;
    if (text && Parse(*text, result.Table, why)) {
        return result;
    }
    // A file that cannot be read is left alone: only one that reads as something else is damaged.
    if (!text && error.rfind("too large", 0) != 0) {
        result.Error = platform::EscapeControls(path_) + ": " + error;
        return result;
    }
    if (!text) {
        why = error;
    }
    result.Table.clear();
    const std::string aside = DamagedName(path_);
    if (::rename(path_.c_str(), aside.c_str()) != 0) {
        result.Error = platform::EscapeControls(path_) + ": damaged (" + why +
                       ") and cannot be moved aside: " + std::strerror(errno);
        return result;
    }
    result.Warning = platform::EscapeControls(path_) + ": damaged (" + why + "); moved aside to " +
                     platform::EscapeControls(FileName(aside)) + ", a new table is started";
    return result;
}

RecordsUpdate RecordsFile::Read() const {
    return Load();
}

RecordsUpdate RecordsFile::Add(const RunRecord& run) const {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    const platform::FileLock lock(folder_ + "/records.lock", platform::FileLock::Mode::Exclusive, true);
    RecordsUpdate result = Load();
    if (!result.Error.empty()) {
        return result;
    }
    std::vector<RunRecord> table = Merged(result.Table, run);
    // Nothing to write when the run did not make the table and the file holds it already.
    if (table.size() == result.Table.size() &&
        std::equal(table.begin(), table.end(), result.Table.begin(),
                   [](const RunRecord& a, const RunRecord& b) { return a.SameRun(b); }) &&
        result.Warning.empty()) {
        return result;
    }
    result.Error = platform::WriteFileAtomically(path_, Format(table));
    if (result.Error.empty()) {
        result.Table = std::move(table);
    }
    return result;
}
