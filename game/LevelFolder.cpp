#include "game/LevelFolder.h"

#include "game/TerminalText.h"
#include "platform/base/FillText.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/Translate.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#ifndef VK_INSTALLED_LEVELS_RELATIVE
#define VK_INSTALLED_LEVELS_RELATIVE "../share/vorkalith/levels"
#endif

namespace {
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

// The line refusing a folder the user asked for; `origin` says where it was given.
std::string Refusal(const std::string& origin, const std::string& folder, LevelFolder::PathKind kind,
                    const std::string& firstLevel) {
    std::string why;
    switch (kind) {
    case LevelFolder::PathKind::Missing:
        why = Tr("no such folder");
        break;
    case LevelFolder::PathKind::Folder:
        why = Fill(Tr("no level file {} in this folder"), {firstLevel});
        break;
    default:
        why = Tr("not a folder");
        break;
    }
    return "vorkalith: " + origin + TerminalText(folder) + ": " + why;
}
} // namespace

std::vector<std::string> LevelFolder::Candidates(const Places& p) {
    std::vector<std::string> out;
    auto add = [&](const std::string& folder) {
        if (!folder.empty() && std::find(out.begin(), out.end(), folder) == out.end()) {
            out.push_back(folder);
        }
    };
    add(p.CommandLineDir);
    add(p.EnvironmentDir);
    add(p.CurrentDir);
    // The user's data come before the system's: an unset or empty XDG variable means its
    // default, a relative path in it is ignored.
    std::string dataHome = p.DataHome;
    if (dataHome.empty() || dataHome.front() != '/') {
        dataHome = p.Home.empty() ? "" : Join(p.Home, ".local/share");
    }
    if (!dataHome.empty()) {
        add(Join(dataHome, kBelowDataDir));
    }
    if (!p.ExecutableDir.empty()) {
        add(std::filesystem::path(Join(p.ExecutableDir, p.InstalledRelative)).lexically_normal().string());
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
    add(p.ExecutableDir);
    return out;
}

LevelFolder::Choice LevelFolder::Find(const Places& places, const std::function<PathKind(const std::string&)>& kindOf,
                                      const std::string& firstLevel) {
    Choice choice;
    const bool onCommandLine = !places.CommandLineDir.empty();
    const std::string& asked = onCommandLine ? places.CommandLineDir : places.EnvironmentDir;
    for (const std::string& folder : Candidates(places)) {
        choice.Consulted.push_back(folder);
        if (kindOf(Join(folder, firstLevel.empty() ? "1.vrk" : firstLevel)) == PathKind::File) {
            choice.Folder = folder;
            choice.HasFirstLevel = true;
            return choice;
        }
        if (folder == asked && firstLevel.empty() && kindOf(folder) == PathKind::Folder) {
            choice.Folder = folder;
            return choice;
        }
        if (folder == asked) {
            choice.Refusal =
                Refusal(onCommandLine ? "--levels " : "VORKALITH_LEVELS=", folder, kindOf(folder), firstLevel);
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
    p.ExecutableDir = platform::ProgramFolder();
    p.InstalledRelative = VK_INSTALLED_LEVELS_RELATIVE;
    p.DataHome = Environment("XDG_DATA_HOME");
    p.DataDirs = Environment("XDG_DATA_DIRS");
    p.Home = Environment("HOME");
    return p;
}

std::string LevelFolder::Warning(const Choice& choice) {
    if (!choice.Folder.empty() || !choice.Refusal.empty()) {
        return {};
    }
    std::string places;
    for (const std::string& folder : choice.Consulted) {
        places += (places.empty() ? "" : ", ") + TerminalText(folder);
    }
    return "vorkalith: " +
           Fill(Tr("no level file 1.vrk found (looked in {}); the fields stay empty (use --levels DIR or "
                   "VORKALITH_LEVELS)"),
                {places});
}

std::string LevelFolder::PathOf(const std::string& fileName) {
    return folder_.empty() ? fileName : Join(folder_, fileName);
}

LevelFolder::PathKind LevelFolder::KindOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return PathKind::Missing;
    }
    if (S_ISREG(st.st_mode)) {
        return PathKind::File;
    }
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::Other;
}
