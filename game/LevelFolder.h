#pragma once

#include <functional>
#include <string>
#include <vector>

// Where the level files are read from. The program decides once at start; the loader then
// resolves every "N.vrk" in that folder.
class LevelFolder {
public:
    // What the search may consult; filled from the real process by FromEnvironment.
    struct Places {
        std::string CommandLineDir;    // --levels DIR
        std::string EnvironmentDir;    // $VORKALITH_LEVELS
        std::string CurrentDir;        // the current folder
        std::string ExecutableDir;     // the folder of the running program
        std::string InstalledRelative; // from the program's folder to the installed levels
        std::string DataHome;          // $XDG_DATA_HOME, or empty
        std::string DataDirs;          // $XDG_DATA_DIRS, or empty
        std::string Home;              // $HOME, for the default of $XDG_DATA_HOME
    };

    struct Choice {
        std::string Folder;                 // empty: none found, names stay relative to the current folder
        bool HasFirstLevel = false;         // Folder holds 1.vrk
        std::vector<std::string> Consulted; // every folder looked at, in order
    };

    // The folders to look in, in order: --levels, $VORKALITH_LEVELS, the current folder, the
    // installed folder next to the program, the program's own folder (a build tree),
    // $XDG_DATA_HOME/vorkalith/levels, then vorkalith/levels below each of $XDG_DATA_DIRS.
    static std::vector<std::string> Candidates(const Places& places);

    // The first candidate that holds 1.vrk. A folder given by --levels or $VORKALITH_LEVELS is
    // taken even without one, since the user asked for it. `exists` tells whether a file exists.
    static Choice Find(const Places& places, const std::function<bool(const std::string&)>& exists);

    // True when `path` names a regular file (what Find is given for the real file system).
    static bool IsFile(const std::string& path);

    // The places of this process.
    static Places FromEnvironment(const std::string& commandLineDir);

    // The line to print when the chosen folder has no 1.vrk; empty when it has.
    static std::string Warning(const Choice& choice);

    // The folder the loader reads from; empty means the current folder.
    static void Use(const std::string& folder) { folder_ = folder; }
    static const std::string& Current() { return folder_; }
    // `fileName` inside the folder in use.
    static std::string PathOf(const std::string& fileName);

private:
    static inline std::string folder_;
};
