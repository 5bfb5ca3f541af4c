#include "level/MinePatrol.h"

namespace levels {

int RoundCell(int pixels) {
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

MinePatrol::MinePatrol(const Level& level) : level_(level) {
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
            if (m.Y > 0 && !level_.IsWall(RoundCell(m.X), RoundCell(m.Y - 1))) {
                --m.Y;
            } else {
                m.Mode = Down;
            }
            break;
        case Right:
            if (m.X < 640 && !level_.IsWall(RoundCell(m.X + 1), RoundCell(m.Y))) {
                ++m.X;
            } else {
                m.Mode = Left;
            }
            break;
        case Down:
            if (m.Y < 420 && !level_.IsWall(RoundCell(m.X), RoundCell(m.Y + 1))) {
                ++m.Y;
            } else {
                m.Mode = Up;
            }
            break;
        case Left:
            if (m.X > 0 && !level_.IsWall(RoundCell(m.X - 1), RoundCell(m.Y))) {
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
