#pragma once

#include "demo/Demo.h"
#include "demo/ScriptedPlatform.h"

#include <functional>
#include <memory>

class FrameLoop;
class TApplication;
class TForm1;
namespace platform {
class HeadlessPlatform;
}

// Plays a demo again: the game made afresh on a scripted platform over the given window
// platform, or over a headless one, and fed the demo's inputs frame by frame.
class DemoPlayer {
public:
    // How frames are played: drawn and presented as the game shows them, or the rules alone
    // (headless only), which ends at the same state many times faster.
    enum class Mode { Drawn, RulesOnly };

    // `window` null plays headless.
    DemoPlayer(platform::Platform* window, const Demo& demo, Mode mode = Mode::Drawn);
    ~DemoPlayer();

    // Makes the main form; false (the error shown) when it cannot be made.
    bool MakeForm();
    // Plays the demo's next frame: its inputs, then one pass of the message loop. False, and
    // nothing played, once Done. A caller with its own frame clock (the page's animation frames)
    // steps frame by frame; Play steps through it all.
    bool Step();
    // The demo has no frame left, or the game has ended (on its own or by a closed window).
    bool Done() const;
    // Plays every frame of the demo, calling `afterFrame` after each; `paced` holds each frame
    // to 1/60 s. Stops early when the game ends or a real window is closed.
    void Play(bool paced, const std::function<void()>& afterFrame = {});

    TForm1& Form() const { return *form_; }
    uint64_t Frames() const;
    // The game has ended, on its own or by a closed window.
    bool GameEnded() const { return gameEnded_; }
    // The game ended while the demo still had frames: the replay went another way.
    bool EndedEarly() const { return endedEarly_; }
    // The real window it plays in was closed.
    bool WindowClosed() const { return scripted_->WindowClosed(); }
    // The demo's clock from its start to the frame last played, in milliseconds.
    uint64_t ElapsedMs() const { return elapsedMs_; }
    // The final-state line.
    std::string FinalState() const;

private:
    const Demo& demo_;
    const Mode mode_;
    const uint64_t total_; // frames in the demo, every repeat counted
    std::unique_ptr<platform::HeadlessPlatform> headless_;
    std::unique_ptr<ScriptedPlatform> scripted_;
    std::unique_ptr<TApplication> application_;
    TForm1* form_ = nullptr;
    std::unique_ptr<FrameLoop> loop_;
    // The next frame to play: the demo frame and how many of its repeats have been played.
    std::size_t frame_ = 0;
    uint32_t repeat_ = 0;
    uint64_t played_ = 0;
    uint64_t elapsedMs_ = 0;
    bool gameEnded_ = false;
    bool endedEarly_ = false;
};
