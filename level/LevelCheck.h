#pragma once

#include "level/Level.h"

#include <string>
#include <vector>

namespace levels {

struct CheckOptions {
    // Frames (60 per second) in which no mine may pass through or next to the ship's start cell.
    int SafeFrames = 180;
    // Frames of patrol in which every mine must stay inside the field; enough for the longest round trip.
    int PatrolFrames = 1400;
};

// The rules a level keeps; each problem names the one it breaks.
enum class Rule {
    KnownCodes,      // every cell holds one of the seven codes
    FloorOutside,    // nothing but floor in the stored column 21 and row 15
    MineLimit,       // at most 100 mines
    OneShip,         // exactly one ship cell
    Reachable,       // every floor cell reachable from the ship
    ClearStart,      // no mine near the ship's start early on
    MinesStayInside, // no mine runs off the right of the field
};

// One broken rule. Column and Row name the cell at fault (for a mine, its start cell), or are -1
// when the rule concerns the whole level.
struct Problem {
    Rule Broken = Rule::KnownCodes;
    int Column = -1;
    int Row = -1;
    int Count = 0; // KnownCodes: the code; MineLimit: the mines; OneShip: the ship cells
    int Frame = 0; // ClearStart, MinesStayInside: the patrol frame it happens in
    // What it says as written, whatever the user's language: a level source keeps it in a comment.
    std::string Text;
};

// Everything wrong with a level, one problem per broken rule and cell; empty when the level is
// sound: exactly one ship, on a field cell; nothing but floor in the stored column 21 and row 15;
// only known codes; at most 100 mines; every floor cell reachable from the ship by steps up,
// down, left and right; no mine near the ship's start early on; no mine running off the field.
std::vector<Problem> CheckLevel(const Level& level, const CheckOptions& options = {});

// What `problem` says in the user's language, for a terminal.
std::string TranslatedText(const Problem& problem);

// Number of mine cells of a level.
int CountMines(const Level& level);
// Number of wall cells of the playing field.
int CountWalls(const Level& level);

} // namespace levels
