#include "game/LevelFolder.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#ifndef VK_INSTALLED_LEVELS_RELATIVE
#define VK_INSTALLED_LEVELS_RELATIVE "../share/vorkalith/levels"
#endif

namespace {
constexpr const char* kFirstLevel = "1.vrk";
constexpr const char* kBelowDataDir = "vorkalith/levels";

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
} // namespace

std::vector<std::string> LevelFolder::Candidates(const Places& p) {
    std::vector<std::string> out;
    auto add = [&](const std::string& folder) {
        if (!folder.empty()) {
            out.push_back(folder);
        }
    };
    add(p.CommandLineDir);
    add(p.EnvironmentDir);
    add(p.CurrentDir);
    if (!p.ExecutableDir.empty()) {
        add(std::filesystem::path(Join(p.ExecutableDir, p.InstalledRelative)).lexically_normal().string());
        add(p.ExecutableDir);
    }
    // An unset or empty XDG variable means its default; a relative path in it is ignored.
    std::string dataHome = p.DataHome;
    if (dataHome.empty() || dataHome.front() != '/') {
        dataHome = p.Home.empty() ? "" : Join(p.Home, ".local/share");
    }
    if (!dataHome.empty()) {
        add(Join(dataHome, kBelowDataDir));
    }
    const std::string dataDirs = p.DataDirs.empty() ? "/usr/local/share:/usr/share" : p.DataDirs;
    std::size_t start = 0;
    while (start <= dataDirs.size()) {
        std::size_t end = dataDirs.find(':', start);
        if (end == std::string::npos) {
            end = dataDirs.size();
        }
        const std::string dir = dataDirs.substr(start, end - start);
        if (!dir.empty() && dir.front() == '/') {
            add(Join(dir, kBelowDataDir));
        }
        start = end + 1;
    }
    return out;
}

LevelFolder::Choice LevelFolder::Find(const Places& places, const std::function<bool(const std::string&)>& exists) {
    Choice choice;
    const std::string& asked = !places.CommandLineDir.empty() ? places.CommandLineDir : places.EnvironmentDir;
    for (const std::string& folder : Candidates(places)) {
        choice.Consulted.push_back(folder);
        if (exists(Join(folder, kFirstLevel))) {
            choice.Folder = folder;
            choice.HasFirstLevel = true;
            return choice;
        }
        if (folder == asked) {
            choice.Folder = folder;
            return choice;
        }
    }
    return choice;
}

LevelFolder::Places LevelFolder::FromEnvironment(const std::string& commandLineDir) {
    Places p;
    p.CommandLineDir = commandLineDir;
    p.EnvironmentDir = Environment("VORKALITH_LEVELS");
    std::error_code ec;
    p.CurrentDir = std::filesystem::current_path(ec).string();
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        p.ExecutableDir = exe.parent_path().string();
    }
    p.InstalledRelative = VK_INSTALLED_LEVELS_RELATIVE;
    p.DataHome = Environment("XDG_DATA_HOME");
    p.DataDirs = Environment("XDG_DATA_DIRS");
    p.Home = Environment("HOME");
    return p;
}

std::string LevelFolder::Warning(const Choice& choice) {
    if (choice.HasFirstLevel) {
        return {};
    }
    std::string places;
    for (const std::string& folder : choice.Consulted) {
        places += (places.empty() ? "" : ", ") + folder;
    }
    if (!choice.Folder.empty()) {
        return "vorkalith: no level file 1.vrk in " + choice.Folder + "; the fields stay empty";
    }
    return "vorkalith: no level file 1.vrk found (looked in " + places +
           "); the fields stay empty (use --levels DIR or VORKALITH_LEVELS)";
}

std::string LevelFolder::PathOf(const std::string& fileName) {
    return folder_.empty() ? fileName : Join(folder_, fileName);
}

bool LevelFolder::IsFile(const std::string& path) {
    return IsRegularFile(path);
}
