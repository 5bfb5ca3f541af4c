#pragma once

#include "app/edit/Shapes.h"
#include "level/LevelCheck.h"

#include <array>
#include <vector>

// The straight way a mine patrols, as the top-left corners of its box at the two ends, and the
// direction it starts in (levels::Direction).
struct MineTrack {
    Cell Start;
    int Direction = 0;
    int FromX = 0, FromY = 0;
    int ToX = 0, ToY = 0;
};

// A mine that breaks a rule, with its way up to the frame where it does.
struct MineFault {
    levels::Rule Broken = levels::Rule::ClearStart;
    int Frame = 0;
    MineTrack Track;
};

// What the checker finds in a level, laid out for drawing on the field: the problems, which cell
// each concerns, the unreachable floor, the mines at fault with their ways, the mines past the
// hundredth, the ship cells, and the ways of all mines.
class LevelMarks {
public:
    explicit LevelMarks(const levels::Level& level, const levels::CheckOptions& options = {});

    const std::vector<levels::Problem>& Problems() const { return problems_; }
    bool Sound() const { return problems_.empty(); }
    int MineCount() const { return mineCount_; }

    bool Unreachable(int column, int row) const;
    const std::vector<MineFault>& MineFaults() const { return mineFaults_; }
    // Mine cells beyond the hundredth, which the game leaves out.
    const std::vector<Cell>& ExtraMines() const { return extraMines_; }
    const std::vector<Cell>& Ships() const { return ships_; }
    // Every mine's way over a whole patrol.
    const std::vector<MineTrack>& Tracks() const { return tracks_; }

    // The first problem concerning a field cell, or null.
    const levels::Problem* ProblemAt(int column, int row) const;
    // The first problem that concerns the whole level rather than a cell (no ship, too many mines), or null.
    const levels::Problem* LevelProblem() const;

private:
    void FollowMines(const levels::Level& level, const levels::CheckOptions& options);

    std::vector<levels::Problem> problems_;
    int mineCount_ = 0;
    std::array<std::array<int, levels::kRows>, levels::kColumns> problemAt_; // index into problems_, -1 for none
    std::array<std::array<bool, levels::kRows>, levels::kColumns> unreachable_{};
    std::vector<MineFault> mineFaults_;
    std::vector<Cell> extraMines_;
    std::vector<Cell> ships_;
    std::vector<MineTrack> tracks_;
};
