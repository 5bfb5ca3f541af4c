#include "level/MinePatrol.h"

#include <array>

namespace levels {

namespace {

// RoundCell for every position a mine's box can test: -1 to 641 (the left or top edge minus one
// up to the right limit plus one). The patrol looks two cells up for every mine in every frame.
constexpr int kLowest = -1;
constexpr int kHighest = 641;
constexpr int kSpan = kHighest - kLowest + 1;

constexpr std::array<uint8_t, kSpan> kRoundedCells = [] {
    std::array<uint8_t, kSpan> cells{};
    for (int p = kLowest; p <= kHighest; ++p) {
        cells[static_cast<std::size_t>(p - kLowest)] = static_cast<uint8_t>(RoundCell(p));
    }
    return cells;
}();
constexpr int kMostCells = (kHighest + kCellSize) / kCellSize + 1;

} // namespace

bool MinePatrol::WallAt(int x, int y) const {
    if (x < kLowest || x > kHighest || y < kLowest || y > kHighest) {
        return level_.IsWall(RoundCell(x), RoundCell(y));
    }
    return walls_[kRoundedCells[static_cast<std::size_t>(x - kLowest)] * kMostCells +
                  kRoundedCells[static_cast<std::size_t>(y - kLowest)]] != 0;
}

MinePatrol::MinePatrol(const Level& level) : level_(level), walls_(kMostCells * kMostCells, 0) {
    for (int column = 0; column < kMostCells; ++column) {
        for (int row = 0; row < kMostCells; ++row) {
            walls_[static_cast<std::size_t>(column * kMostCells + row)] = level.IsWall(column, row) ? 1 : 0;
        }
    }
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            uint8_t code = level.At(column, row);
            if (IsMine(code) && static_cast<int>(mines_.size()) < kMaxMines) {
                mines_.push_back({column * kCellSize, row * kCellSize, code - 1, column, row});
            }
        }
    }
}

void MinePatrol::Step() {
    for (Mine& m : mines_) {
        switch (m.Mode) {
        case Up:
            if (m.Y > 0 && !WallAt(m.X, m.Y - 1)) {
                --m.Y;
            } else {
                m.Mode = Down;
            }
            break;
        case Right:
            if (m.X < 640 && !WallAt(m.X + 1, m.Y)) {
                ++m.X;
            } else {
                m.Mode = Left;
            }
            break;
        case Down:
            if (m.Y < 420 && !WallAt(m.X, m.Y + 1)) {
                ++m.Y;
            } else {
                m.Mode = Up;
            }
            break;
        case Left:
            if (m.X > 0 && !WallAt(m.X - 1, m.Y)) {
                --m.X;
            } else {
                m.Mode = Right;
            }
            break;
        default:
            break;
        }
    }
}

} // namespace levels
