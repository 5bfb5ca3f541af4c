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
    // --fullscreen: full screen whatever the settings say.
    bool FullScreen = false;
    bool IntegerScale = false;
    std::string LevelsDir;
    // --level N: play starts at level N (1 to 24) instead of the menu; 0 when not given.
    int StartLevel = 0;
    // Demo recording and playback.
    std::string RecordFile;
    std::string PlaybackFile;
    bool Headless = false;
    bool Force = false;
    // A demo replayed by the rules alone, its runs printed as JSON lines.
    std::string VerifyFile;
    // --lang CODE: the texts in this language instead of the user's; empty when not given.
    std::string Language;
    // The daily challenge: the game seeded from today's UTC date instead of the time of day.
    bool Daily = false;
    // --submit FILE --server URL [--name NAME]: the demo uploaded to a leaderboard server.
    std::string SubmitFile;
    std::string ServerUrl;
    std::string PlayerName;
    // The records: --scores prints the table (--json: as JSON), --watch N plays its run N.
    bool Scores = false;
    bool Json = false;
    int Watch = 0;

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
