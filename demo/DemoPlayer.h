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
    // `window` null plays headless.
    DemoPlayer(platform::Platform* window, const Demo& demo);
    ~DemoPlayer();

    // Makes the main form; false (the error shown) when it cannot be made.
    bool MakeForm();
    // Plays every frame of the demo, calling `afterFrame` after each; `paced` holds each frame
    // to 1/60 s. Stops early when the game ends or a real window is closed.
    void Play(bool paced, const std::function<void()>& afterFrame = {});

    TForm1& Form() const { return *form_; }
    uint64_t Frames() const;
    // The game ended while the demo still had frames: the replay went another way.
    bool EndedEarly() const { return endedEarly_; }
    // The final-state line.
    std::string FinalState() const;

private:
    const Demo& demo_;
    std::unique_ptr<platform::HeadlessPlatform> headless_;
    std::unique_ptr<ScriptedPlatform> scripted_;
    std::unique_ptr<TApplication> application_;
    TForm1* form_ = nullptr;
    std::unique_ptr<FrameLoop> loop_;
    bool endedEarly_ = false;
};
