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
        bool HasFirstLevel = false;         // Folder holds the first level file
        std::vector<std::string> Consulted; // every folder looked at, in order
        // Why the folder given by --levels or $VORKALITH_LEVELS cannot be used, as the line to
        // print; empty when it can or when none was given.
        std::string Refusal;
    };

    // What a path names, as far as the search cares.
    enum class PathKind { Missing, File, Folder, Other };

    // The folders to look in, in order, each once: --levels, $VORKALITH_LEVELS, the current
    // folder, $XDG_DATA_HOME/vorkalith/levels, the installed folder next to the program,
    // vorkalith/levels below each of $XDG_DATA_DIRS, then the program's own folder (a build tree).
    static std::vector<std::string> Candidates(const Places& places);

    // The first candidate that holds `firstLevel` (the level file the game starts at: 1.vrk, or
    // N.vrk when it starts at level N) as a regular file. A folder given by --levels (or else
    // $VORKALITH_LEVELS) must hold it: otherwise the search stops there with a Refusal saying
    // whether the path is missing, no folder, or a folder without that file. An empty
    // `firstLevel` (a demo replayed, which names the files it reads) searches for 1.vrk but takes
    // a given folder as it is.
    static Choice Find(const Places& places, const std::function<PathKind(const std::string&)>& kindOf,
                       const std::string& firstLevel = "1.vrk");

    // What `path` names in the real file system (what Find is given), links followed.
    static PathKind KindOf(const std::string& path);

    // The places of this process.
    static Places FromEnvironment(const std::string& commandLineDir);

    // The line to print when no folder was chosen and the fields stay empty; empty when one
    // was, or when the search ended in a Refusal.
    static std::string Warning(const Choice& choice);

    // The folder the loader reads from; empty means the current folder.
    static void Use(const std::string& folder) { folder_ = folder; }
    static const std::string& Current() { return folder_; }
    // `fileName` inside the folder in use.
    static std::string PathOf(const std::string& fileName);

private:
    static inline std::string folder_;
};
