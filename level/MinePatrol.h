#pragma once

#include "level/Level.h"

#include <vector>

namespace levels {

// Patrol directions, numbered as the game numbers them.
enum Direction : int { Still = 0, Up = 1, Right = 2, Down = 3, Left = 4 };

struct Mine {
    int X = 0; // top-left corner of the mine's 30 x 30 box, screen pixels
    int Y = 0;
    int Mode = Still;
    int StartColumn = 0;
    int StartRow = 0;
};

// Round(n / 30) the way the game rounds: to the nearest integer, an exact half to the even neighbour.
int RoundCell(int pixels);

// The mines of a level moving on their own, one pixel per frame: each runs straight on and turns
// back when the field's edge or a wall lies ahead. The game's rule for the right edge lets a mine
// run on past the field (to X = 640) when its row has no wall there. Contact with the ship, which
// can change a mine's direction, is not part of this model.
class MinePatrol {
public:
    // Mines in the order the game's loader fills its slots: column by column, top to bottom.
    explicit MinePatrol(const Level& level);

    // Advances every mine by one frame.
    void Step();

    const std::vector<Mine>& Mines() const { return mines_; }

private:
    Level level_;
    std::vector<Mine> mines_;
};

} // namespace levels
