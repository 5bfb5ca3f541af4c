#pragma once

#include "tools/levels/Level.h"

#include <string>
#include <vector>

namespace levels {

struct CheckOptions {
    // Frames (60 per second) in which no mine may pass through or next to the ship's start cell.
    int SafeFrames = 180;
    // Frames of patrol in which every mine must stay inside the field; enough for the longest round trip.
    int PatrolFrames = 1400;
};

// Everything wrong with a level, one sentence per problem; empty when the level is sound:
// exactly one ship, on a field cell; nothing but floor in the stored column 21 and row 15;
// only known codes; at most 100 mines; every floor cell reachable from the ship by steps up,
// down, left and right; no mine near the ship's start early on; no mine running off the field.
std::vector<std::string> CheckLevel(const Level& level, const CheckOptions& options = {});

// Number of mine cells of a level.
int CountMines(const Level& level);
// Number of wall cells of the playing field.
int CountWalls(const Level& level);

} // namespace levels
