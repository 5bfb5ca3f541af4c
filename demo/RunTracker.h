#pragma once

#include <cstdint>
#include <vector>

class TGame;

// How a run ended.
enum class RunEnd {
    GameOver,   // the score fell below zero with no energy left
    EndScreen,  // the last level was finished
    Escape,     // Esc in play led back to the menu
    Closed,     // the program ended during the run (its window was closed)
    Unfinished, // the session stopped during the run (a recording that ends there)
};

// One game, from the click on "Старт" in the menu to its end. Frames are counted from 1, as the
// state lines count them.
struct GameRun {
    uint64_t FirstFrame = 0; // the frame whose click started the game
    uint64_t LastFrame = 0;  // the frame that ended it; the last one seen when it did not end
    uint64_t StartMs = 0;    // the session's clock from the session's start to the first frame
    int32_t BestScore = 0;   // the highest score after any of its frames
    int32_t Score = 0;       // the score after its last frame
    int Level = 1;           // the highest level played (the field of a level change included)
    uint32_t OrbsEaten = 0;  // orbs eaten on all its levels
    RunEnd End = RunEnd::Unfinished;

    uint64_t Frames() const { return LastFrame - FirstFrame + 1; }
};

// Tells the runs of a session apart, watching the world after each frame: whatever plays the
// session (a replay, the windowed game, the simulator) feeds it every frame in order.
class RunTracker {
public:
    // The world as frame `frame` left it, `elapsedMs` the session's clock since its start. Returns
    // the run this frame ended, null when none did; the pointer lasts until the next call.
    const GameRun* AfterFrame(const TGame& game, uint64_t frame, uint64_t elapsedMs);
    // Ends a run still going when the session stops, as `how` (Closed or Unfinished); returns it,
    // or null when no run was going.
    const GameRun* Finish(RunEnd how);

    // The run going on, null between runs.
    const GameRun* Current() const { return playing_ ? &current_ : nullptr; }
    // The runs that ended, in order.
    const std::vector<GameRun>& Runs() const { return runs_; }

    // A word for each end: "game-over", "end-screen", "esc", "closed", "unfinished".
    static const char* Name(RunEnd end);

private:
    const GameRun* End(RunEnd how);

    std::vector<GameRun> runs_;
    GameRun current_;
    bool playing_ = false;
    uint8_t lastState_ = 0;
    uint8_t lastOrbs_ = 0;
};
