#include "app/edit/LevelMarks.h"

#include "level/MinePatrol.h"

#include <algorithm>

using namespace levels;

namespace {

MineTrack TrackFrom(const Mine& mine) {
    return MineTrack{{mine.StartColumn, mine.StartRow}, mine.Mode, mine.X, mine.Y, mine.X, mine.Y};
}

void Extend(MineTrack& track, const Mine& mine) {
    track.FromX = std::min(track.FromX, mine.X);
    track.FromY = std::min(track.FromY, mine.Y);
    track.ToX = std::max(track.ToX, mine.X);
    track.ToY = std::max(track.ToY, mine.Y);
}

} // namespace

LevelMarks::LevelMarks(const Level& level, const CheckOptions& options) : problems_(CheckLevel(level, options)) {
    mineCount_ = CountMines(level);
    for (auto& column : problemAt_) {
        column.fill(-1);
    }
    for (std::size_t i = 0; i < problems_.size(); ++i) {
        const Problem& p = problems_[i];
        if (p.Column < 0 || p.Row < 0) {
            continue;
        }
        if (problemAt_[p.Column][p.Row] < 0) {
            problemAt_[p.Column][p.Row] = static_cast<int>(i);
        }
        unreachable_[p.Column][p.Row] = unreachable_[p.Column][p.Row] || p.Broken == Rule::Reachable;
    }
    int mines = 0;
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const uint8_t code = level.At(column, row);
            if (code == Ship) {
                ships_.emplace_back(column, row);
            } else if (IsMine(code) && ++mines > kMaxMines) {
                extraMines_.emplace_back(column, row);
            }
        }
    }
    // The cells of the level-wide problems: every ship when there are several, every mine left out.
    for (std::size_t i = 0; i < problems_.size(); ++i) {
        const Problem& p = problems_[i];
        const std::vector<Cell>* cells = p.Broken == Rule::OneShip     ? &ships_
                                         : p.Broken == Rule::MineLimit ? &extraMines_
                                                                       : nullptr;
        for (const auto& [column, row] : cells ? *cells : std::vector<Cell>{}) {
            if (problemAt_[column][row] < 0) {
                problemAt_[column][row] = static_cast<int>(i);
            }
        }
    }
    FollowMines(level, options);
}

void LevelMarks::FollowMines(const Level& level, const CheckOptions& options) {
    MinePatrol patrol(level);
    const std::vector<Mine>& mines = patrol.Mines();
    for (const Mine& mine : mines) {
        tracks_.push_back(TrackFrom(mine));
    }
    // The faulty mine of each problem, by the index of its patrol slot.
    std::vector<std::pair<std::size_t, std::size_t>> faulty;
    for (const Problem& p : problems_) {
        if (p.Broken != Rule::ClearStart && p.Broken != Rule::MinesStayInside) {
            continue;
        }
        for (std::size_t k = 0; k < mines.size(); ++k) {
            if (mines[k].StartColumn == p.Column && mines[k].StartRow == p.Row) {
                faulty.emplace_back(mineFaults_.size(), k);
                mineFaults_.push_back(MineFault{p.Broken, p.Frame, TrackFrom(mines[k])});
                break;
            }
        }
    }
    const int frames = std::max(options.SafeFrames, options.PatrolFrames);
    for (int frame = 1; frame <= frames; ++frame) {
        patrol.Step();
        for (std::size_t k = 0; k < mines.size(); ++k) {
            Extend(tracks_[k], mines[k]);
        }
        for (const auto& [fault, k] : faulty) {
            if (frame <= mineFaults_[fault].Frame) {
                Extend(mineFaults_[fault].Track, mines[k]);
            }
        }
    }
}

bool LevelMarks::Unreachable(int column, int row) const {
    return column >= 0 && column < kColumns && row >= 0 && row < kRows && unreachable_[column][row];
}

const Problem* LevelMarks::ProblemAt(int column, int row) const {
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows || problemAt_[column][row] < 0) {
        return nullptr;
    }
    return &problems_[static_cast<std::size_t>(problemAt_[column][row])];
}

const Problem* LevelMarks::LevelProblem() const {
    for (const Problem& p : problems_) {
        if (p.Column < 0 && (p.Broken != Rule::OneShip || p.Count == 0)) {
            return &p;
        }
    }
    for (const Problem& p : problems_) {
        if (p.Column < 0) {
            return &p;
        }
    }
    return nullptr;
}
