#include "records/RunsFolder.h"

#include "platform/base/ControlEscape.h"
#include "platform/files/FileLock.h"
#include "platform/files/XdgFolder.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "session-";
constexpr std::string_view kSuffix = ".vkd";
// A temporary demo younger than this may belong to a game that has just made it and not yet
// locked it.
constexpr auto kRecoverAfter = std::chrono::seconds(30);

struct SessionFile {
    std::string Name;
    fs::file_time_type Time;
    uint64_t Bytes = 0;
};

} // namespace

std::string RunsFolder::Default() {
    const std::string data = platform::XdgFolder("XDG_DATA_HOME", ".local/share");
    return data.empty() ? std::string() : data + "/vorkalith/runs";
}

bool RunsFolder::Make(std::string& error) const {
    std::error_code ec;
    fs::create_directories(path_, ec);
    if (ec && !fs::is_directory(path_)) {
        error = platform::EscapeControls(path_) + ": cannot make the folder: " + ec.message();
        return false;
    }
    return true;
}

std::string RunsFolder::NewSessionName(const std::string& tag) const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = std::string(kPrefix) + stamp + "-" + (tag.empty() ? std::to_string(::getpid()) : tag);
    std::string name = base + std::string(kSuffix);
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(PathOf(name), ec)); ++n) {
        name = base + "-" + std::to_string(n) + std::string(kSuffix);
    }
    return name;
}

bool RunsFolder::IsSessionName(const std::string& name) {
    return name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) && name.ends_with(kSuffix) &&
           name.find('/') == std::string::npos;
}

void RunsFolder::Recover() const {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::size_t tmp = name.find(std::string(kSuffix) + ".tmp");
        if (tmp == std::string::npos || !IsSessionName(name.substr(0, tmp + kSuffix.size())) ||
            !it->is_regular_file(ec) || now - it->last_write_time(ec) < kRecoverAfter) {
            continue;
        }
        const platform::FileLock lock(it->path().string(), platform::FileLock::Mode::Exclusive, false, false);
        const std::string target = PathOf(name.substr(0, tmp + kSuffix.size()));
        std::error_code missing;
        if (lock.Held() && !fs::exists(fs::symlink_status(target, missing))) {
            fs::rename(it->path(), target, missing);
        }
    }
}

std::vector<std::string> RunsFolder::Prune(const std::vector<RunRecord>& table, const std::string& current,
                                           std::size_t keptSessions, uint64_t keptBytes) const {
    std::vector<SessionFile> sessions;
    std::error_code ec;
    for (fs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code fileError;
        if (IsSessionName(name) && it->is_regular_file(fileError)) {
            sessions.push_back(SessionFile{name, it->last_write_time(fileError), it->file_size(fileError)});
        }
    }
    // Newest first.
    std::sort(sessions.begin(), sessions.end(), [](const SessionFile& a, const SessionFile& b) {
        return a.Time != b.Time ? a.Time > b.Time : a.Name > b.Name;
    });
    uint64_t total = 0;
    for (const SessionFile& s : sessions) {
        total += s.Bytes;
    }
    auto pointedTo = [&](const std::string& name) {
        return name == current ||
               std::any_of(table.begin(), table.end(), [&](const RunRecord& r) { return r.Demo == name; });
    };
    std::vector<std::string> removed;
    for (std::size_t i = sessions.size(); i-- > 0;) {
        const SessionFile& s = sessions[i];
        if (pointedTo(s.Name) || (i < keptSessions && total <= keptBytes)) {
            continue;
        }
        std::error_code removeError;
        if (fs::remove(PathOf(s.Name), removeError)) {
            total -= s.Bytes;
            removed.push_back(s.Name);
        }
    }
    return removed;
}
