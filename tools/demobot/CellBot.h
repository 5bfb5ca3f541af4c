#pragma once

#include <array>

class TGame;

// Steers the ship a step at a time along a shortest path over the field's cells to the nearest
// target: the orbs, keeping off the cells a mine covers or is about to enter while another way
// exists, or the mines themselves. With no target in reach it takes any open way.
class CellBot {
public:
    enum class Target { Orbs, Mines };

    CellBot(const TGame& game, Target target) : game_(game), target_(target) {}

    // The key code to hold in the next frame, 0 for none.
    int Key() const;

private:
    static constexpr int kColumns = 21;
    static constexpr int kRows = 15;
    using CellSet = std::array<bool, kColumns * kRows>;

    bool Open(int column, int row) const;
    CellSet MineCells() const;
    CellSet TargetCells() const;
    int FirstStep(const CellSet& avoid) const;
    // A way out of the ship's cell that is open, -1 when none is.
    int AnyOpenWay() const;

    const TGame& game_;
    Target target_;
};
