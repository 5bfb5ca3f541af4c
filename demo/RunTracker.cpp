#include "demo/RunTracker.h"

#include "game/Game.h"

#include <algorithm>

namespace {
constexpr uint8_t kMenu = 0, kPlay = 1, kLevelChange = 2, kEnd = 5;
} // namespace

const GameRun* RunTracker::AfterFrame(const TGame& game, uint64_t frame, uint64_t elapsedMs) {
    const uint8_t before = lastState_;
    const uint8_t state = game.GameState;
    const uint8_t orbs = game.OrbsEaten;
    lastState_ = state;
    const uint8_t orbsBefore = lastOrbs_;
    lastOrbs_ = orbs;

    if (!playing_) {
        // Only the menu's first item leads from the menu into play.
        if (before == kMenu && state == kPlay) {
            playing_ = true;
            current_ = GameRun{};
            current_.FirstFrame = frame;
            current_.LastFrame = frame;
            current_.StartMs = elapsedMs;
            current_.Level = game.Level;
            current_.BestScore = game.Score;
            current_.Score = game.Score;
        }
        return nullptr;
    }

    current_.LastFrame = frame;
    current_.Score = game.Score;
    current_.BestScore = std::max(current_.BestScore, game.Score);
    // The counter of a level falls back during a level change and starts again at 0 in a new
    // game; only what play frames add to it was eaten.
    if (before == kPlay && orbs > orbsBefore) {
        current_.OrbsEaten += static_cast<uint32_t>(orbs - orbsBefore);
    }
    // After the last level the counter steps on to a level that is never played.
    if (state == kPlay || state == kLevelChange) {
        current_.Level = std::max<int>(current_.Level, game.Level);
    }
    if (state == kEnd) {
        return End(RunEnd::EndScreen);
    }
    if (state == kMenu) {
        // Play leaves for the menu by Esc or because the game is lost; a lost game is one that
        // the game itself ends, whether or not Esc was also pressed in that frame.
        return End(game.Energy == 0 && game.Score < 0 ? RunEnd::GameOver : RunEnd::Escape);
    }
    return nullptr;
}

const GameRun* RunTracker::Finish(RunEnd how) {
    return playing_ ? End(how) : nullptr;
}

const GameRun* RunTracker::End(RunEnd how) {
    playing_ = false;
    current_.End = how;
    runs_.push_back(current_);
    return &runs_.back();
}

const char* RunTracker::Name(RunEnd end) {
    switch (end) {
    case RunEnd::GameOver:
        return "game-over";
    case RunEnd::EndScreen:
        return "end-screen";
    case RunEnd::Escape:
        return "esc";
    case RunEnd::Closed:
        return "closed";
    case RunEnd::Unfinished:
        return "unfinished";
    }
    return "unfinished";
}
