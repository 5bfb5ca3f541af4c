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
constexpr int RoundCell(int pixels) {
    // Floor division first, so negative positions round the same way as positive ones.
    int q = pixels / kCellSize;
    int r = pixels % kCellSize;
    if (r < 0) {
        r += kCellSize;
        --q;
    }
    if (2 * r > kCellSize || (2 * r == kCellSize && (q & 1) != 0)) {
        ++q;
    }
    return q;
}

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
    // A wall of the field in the cell that the pixel position (x, y) rounds to.
    bool WallAt(int x, int y) const;

    Level level_;
    // Walls by rounded cell, column by column, for the cells the positions of WallAt round to.
    std::vector<uint8_t> walls_;
    std::vector<Mine> mines_;
};

} // namespace levels
