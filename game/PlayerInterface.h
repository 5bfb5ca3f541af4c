#pragma once

#include <string>

class TGame;

// What the desktop game adds around the rules in a session that has it: a hint line on the title
// and the pause of play. Play pauses and resumes with P, the Pause key (the pad's Start button
// holds it) and pauses when the window loses the keyboard focus; a paused frame draws the scene
// as it stands and steps no rule. It reads only the frame's keys and focus, so a replay of the
// same inputs pauses in the same frames, drawn or by the rules alone.
class PlayerInterface {
public:
    // `dailyDate` (YYYY-MM-DD) names the day of a daily session in the hint; empty otherwise.
    explicit PlayerInterface(std::string dailyDate = {});

    // Called after the frame's keys are polled, before its branch: true when play holds still this
    // frame, in which case the caller draws it with DrawPausedPlay instead of running the branch.
    bool HoldsPlay(TGame& game);
    // The play scene as it stands, the status texts and "Пауза" in the middle.
    void DrawPausedPlay(TGame& game);
    // After the branch: the hint line under the menu while the title is at rest.
    void DrawHint(TGame& game);

    bool Paused() const { return paused_; }
    // The hint line shown on the title.
    const std::string& Hint() const { return hint_; }

private:
    std::string hint_;
    bool paused_ = false;
    bool pauseKeyHeld_ = false;
};
