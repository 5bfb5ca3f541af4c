#pragma once

#include <string>
#include <vector>

// The options the program accepts. Parsing only records them; each is acted on where it is used.
struct CommandLine {
    bool Help = false;
    bool Version = false;
    // "-sf" as the very first argument: frames are presented by the 1 ms window timer. The game
    // itself reads its first argument for this; the field only records that it was given.
    bool SlowFlip = false;
    bool Window = false;
    bool IntegerScale = false;
    std::string LevelsDir;
    // Demo recording and playback.
    std::string RecordFile;
    std::string PlaybackFile;
    bool Headless = false;
    bool Force = false;

    // Parses the arguments after the program name. False with a one-line reason in `error`
    // for an unknown option, a missing value or an unexpected argument.
    bool Parse(const std::vector<std::string>& arguments, std::string& error);

    // The usage text printed by --help.
    static std::string Usage();
    // The line printed after a usage error's own line, pointing to --help.
    static std::string TryHelp();
    // "vorkalith VERSION".
    static std::string VersionLine();
};
