#include "tools/demobot/CellBot.h"

#include "game/Game.h"
#include "game/Rounding.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"

#include <vector>

namespace {

// The four ways in the game's heading order (up, right, down, left) and their keys' codes.
constexpr std::array<int, 4> kStepX = {0, 1, 0, -1};
constexpr std::array<int, 4> kStepY = {-1, 0, 1, 0};
constexpr std::array<int, 4> kKeys = {200, 205, 208, 203};

// The cell the game tests a sprite position against: its coordinates over 30, rounded.
int CellOf(double pixels) {
    return RoundHalfEven(pixels / 30);
}

} // namespace

bool CellBot::Open(int column, int row) const {
    return column >= 0 && column < kColumns && row >= 0 && row < kRows && game_.FieldMap->Cells(column, row) != 1;
}

CellBot::CellSet CellBot::MineCells() const {
    CellSet cells{};
    auto mark = [&](int column, int row) {
        if (column >= 0 && column < kColumns && row >= 0 && row < kRows) {
            cells[static_cast<std::size_t>(row * kColumns + column)] = true;
        }
    };
    for (int i = 1; i <= TGame::kMines; ++i) {
        const int mode = game_.MineMode[static_cast<std::size_t>(i)];
        if (mode < 1 || mode > 4) {
            continue;
        }
        const int column = CellOf(game_.Mines[static_cast<std::size_t>(i)]->X);
        const int row = CellOf(game_.Mines[static_cast<std::size_t>(i)]->Y);
        mark(column, row);
        mark(column + kStepX[static_cast<std::size_t>(mode - 1)], row + kStepY[static_cast<std::size_t>(mode - 1)]);
    }
    return cells;
}

CellBot::CellSet CellBot::TargetCells() const {
    if (target_ == Target::Mines) {
        return MineCells();
    }
    CellSet cells{};
    for (int i = 1; i <= game_.OrbCount; ++i) {
        const int column = CellOf(game_.Orbs[static_cast<std::size_t>(i)]->X);
        const int row = CellOf(game_.Orbs[static_cast<std::size_t>(i)]->Y);
        if (Open(column, row)) {
            cells[static_cast<std::size_t>(row * kColumns + column)] = true;
        }
    }
    return cells;
}

int CellBot::FirstStep(const CellSet& avoid) const {
    const CellSet target = TargetCells();
    const int startColumn = CellOf(game_.ShipSprite->X);
    const int startRow = CellOf(game_.ShipSprite->Y);
    if (!Open(startColumn, startRow)) {
        return -1;
    }
    // For every cell reached, the way of the first step that led to it.
    std::array<int, kColumns * kRows> firstWay;
    firstWay.fill(-2);
    std::vector<int> queue{startRow * kColumns + startColumn};
    firstWay[static_cast<std::size_t>(queue.front())] = -1;
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const int cell = queue[next];
        for (std::size_t way = 0; way < 4; ++way) {
            const int column = cell % kColumns + kStepX[way];
            const int row = cell / kColumns + kStepY[way];
            const auto index = static_cast<std::size_t>(row * kColumns + column);
            if (!Open(column, row) || firstWay[index] != -2 || avoid[index]) {
                continue;
            }
            const int first = next == 0 ? static_cast<int>(way) : firstWay[static_cast<std::size_t>(cell)];
            if (target[index]) {
                return first;
            }
            firstWay[index] = first;
            queue.push_back(static_cast<int>(index));
        }
    }
    return -1;
}

int CellBot::AnyOpenWay() const {
    const int column = CellOf(game_.ShipSprite->X);
    const int row = CellOf(game_.ShipSprite->Y);
    for (std::size_t way = 0; way < 4; ++way) {
        if (Open(column + kStepX[way], row + kStepY[way])) {
            return static_cast<int>(way);
        }
    }
    return -1;
}

int CellBot::Key() const {
    int way = -1;
    if (target_ == Target::Orbs) {
        way = FirstStep(MineCells());
    }
    if (way < 0) {
        way = FirstStep(CellSet{});
    }
    if (way < 0) {
        way = AnyOpenWay();
    }
    return way < 0 ? 0 : kKeys[static_cast<std::size_t>(way)];
}
