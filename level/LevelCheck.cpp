#include "level/LevelCheck.h"

#include "level/MinePatrol.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"

#include <algorithm>
#include <array>
#include <deque>

namespace levels {

namespace {

std::string CellName(int column, int row) {
    std::string name = "(";
    name += std::to_string(column);
    name += ", ";
    name += std::to_string(row);
    name += ')';
    return name;
}

const char* AsWritten(const char* text) {
    return text;
}

// What a problem says, from its rule and numbers, each text passed through `translate`.
std::string Describe(const Problem& p, const char* (*translate)(const char*)) {
    const std::string cell = CellName(p.Column, p.Row);
    switch (p.Broken) {
    case Rule::KnownCodes:
        return Fill(translate(N_("cell {} holds code {}, which the game ignores")), {cell, std::to_string(p.Count)});
    case Rule::FloorOutside:
        return Fill(translate(N_("cell {} lies outside the field but holds '{}'")),
                    {cell, std::string(1, Symbol(static_cast<uint8_t>(p.Count)))});
    case Rule::Reachable:
        return Fill(translate(N_("floor cell {} cannot be reached from the ship")), {cell});
    case Rule::ClearStart:
        return Fill(translate(N_("mine from {} comes next to the ship's start in frame {}")),
                    {cell, std::to_string(p.Frame)});
    case Rule::MinesStayInside:
        return Fill(translate(N_("mine from {} runs off the right of the field in frame {}")),
                    {cell, std::to_string(p.Frame)});
    case Rule::MineLimit:
        return Fill(translate(N_("{} mines, more than {}")), {std::to_string(p.Count), std::to_string(kMaxMines)});
    case Rule::OneShip:
        return Fill(translate(N_("{} ship cells instead of one")), {std::to_string(p.Count)});
    }
    return {};
}

struct ShipCell {
    int Count = 0;
    int Column = -1;
    int Row = -1;
};

ShipCell FindShip(const Level& level) {
    ShipCell ship;
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            if (level.At(column, row) == Ship) {
                ++ship.Count;
                ship.Column = column;
                ship.Row = row;
            }
        }
    }
    return ship;
}

void CheckCodes(const Level& level, std::vector<Problem>& problems) {
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            uint8_t code = level.At(column, row);
            bool inField = column < kFieldColumns && row < kFieldRows;
            if (code > Ship) {
                problems.push_back({Rule::KnownCodes, column, row, code, 0, {}});
            } else if (!inField && code != Floor) {
                problems.push_back({Rule::FloorOutside, column, row, code, 0, {}});
            }
        }
    }
}

void CheckReach(const Level& level, const ShipCell& ship, std::vector<Problem>& problems) {
    std::array<std::array<bool, kFieldRows>, kFieldColumns> seen{};
    std::deque<std::pair<int, int>> queue{{ship.Column, ship.Row}};
    seen[ship.Column][ship.Row] = true;
    while (!queue.empty()) {
        auto [c, r] = queue.front();
        queue.pop_front();
        const int steps[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
        for (const auto& s : steps) {
            int nc = c + s[0];
            int nr = r + s[1];
            if (nc >= 0 && nc < kFieldColumns && nr >= 0 && nr < kFieldRows && !seen[nc][nr] && !level.IsWall(nc, nr)) {
                seen[nc][nr] = true;
                queue.emplace_back(nc, nr);
            }
        }
    }
    for (int row = 0; row < kFieldRows; ++row) {
        for (int column = 0; column < kFieldColumns; ++column) {
            if (!level.IsWall(column, row) && !seen[column][row]) {
                problems.push_back({Rule::Reachable, column, row, 0, 0, {}});
            }
        }
    }
}

void CheckPatrol(const Level& level, const ShipCell& ship, const CheckOptions& options,
                 std::vector<Problem>& problems) {
    // The ship's start cell and its eight neighbours, in pixels; a mine box overlapping it is too close.
    const int left = (ship.Column - 1) * kCellSize;
    const int top = (ship.Row - 1) * kCellSize;
    const int right = (ship.Column + 2) * kCellSize;
    const int bottom = (ship.Row + 2) * kCellSize;
    const int fieldRight = (kFieldColumns - 1) * kCellSize;

    MinePatrol patrol(level);
    std::vector<uint8_t> reported(patrol.Mines().size() * 2, 0);
    const int frames = std::max(options.SafeFrames, options.PatrolFrames);
    for (int frame = 0; frame <= frames; ++frame) {
        for (size_t i = 0; i < patrol.Mines().size(); ++i) {
            const Mine& m = patrol.Mines()[i];
            if (frame <= options.SafeFrames && !reported[2 * i] && ship.Count == 1 && m.X < right &&
                m.X + kCellSize > left && m.Y < bottom && m.Y + kCellSize > top) {
                reported[2 * i] = 1;
                problems.push_back({Rule::ClearStart, m.StartColumn, m.StartRow, 0, frame, {}});
            }
            if (frame <= options.PatrolFrames && !reported[2 * i + 1] && m.X > fieldRight) {
                reported[2 * i + 1] = 1;
                problems.push_back({Rule::MinesStayInside, m.StartColumn, m.StartRow, 0, frame, {}});
            }
        }
        patrol.Step();
    }
}

} // namespace

int CountMines(const Level& level) {
    int count = 0;
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            count += IsMine(level.At(column, row)) ? 1 : 0;
        }
    }
    return count;
}

int CountWalls(const Level& level) {
    int count = 0;
    for (int column = 0; column < kFieldColumns; ++column) {
        for (int row = 0; row < kFieldRows; ++row) {
            count += level.IsWall(column, row) ? 1 : 0;
        }
    }
    return count;
}

std::vector<Problem> CheckLevel(const Level& level, const CheckOptions& options) {
    std::vector<Problem> problems;
    CheckCodes(level, problems);
    int mines = CountMines(level);
    if (mines > kMaxMines) {
        problems.push_back({Rule::MineLimit, -1, -1, mines, 0, {}});
    }
    ShipCell ship = FindShip(level);
    if (ship.Count != 1) {
        problems.push_back({Rule::OneShip, -1, -1, ship.Count, 0, {}});
    }
    bool shipInField = ship.Count == 1 && ship.Column < kFieldColumns && ship.Row < kFieldRows;
    if (shipInField) {
        CheckReach(level, ship, problems);
    }
    CheckPatrol(level, ship, options, problems);
    for (Problem& problem : problems) {
        problem.Text = Describe(problem, AsWritten);
    }
    return problems;
}

std::string TranslatedText(const Problem& problem) {
    return Describe(problem, Tr);
}

} // namespace levels
