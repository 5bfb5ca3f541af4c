#pragma once

#include "app/edit/DocumentFiles.h"

#include <iosfwd>
#include <string>
#include <vector>

// The editor's command line. Parsing only records the options.
struct EditCommandLine {
    bool Help = false;
    bool Version = false;
    bool Window = false;
    bool IntegerScale = false;
    bool Force = false;
    std::string LevelsDir;  // --levels: where a level number is looked up
    std::string RecordFile; // --record: each play-test is recorded here
    std::string Language;   // --lang: the texts in this language instead of the user's
    std::string Target;     // FILE or N; empty for a new level
    std::string ConvertIn, ConvertOut;

    // False with a one-line reason in `error` for an unknown option, a missing value or an
    // unexpected argument.
    bool Parse(const std::vector<std::string>& arguments, std::string& error);
    static std::string Usage();
};

// The level the editor starts with: a new one without a target; the file named, as far as it can
// be read, or a new level to be saved under that name when no such file exists; or for a number
// 1 to 24 that names no file, that level of the installed set (found as the game finds its level
// files, from `levelsDir` on), as a copy to be saved elsewhere. Throws levels::LevelError when the
// target cannot be read.
OpenedLevel OpenTarget(const std::string& target, const std::string& levelsDir);

// vorkalith-edit --convert IN OUT: the level read from IN (source or level file, by extension)
// written to OUT as Save writes it; a level that fails the check is written only with `force`.
// Problems and errors go to `err`, one line each; returns the exit status.
int ConvertLevel(const std::string& in, const std::string& out, bool force, std::ostream& err);
