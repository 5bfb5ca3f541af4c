#pragma once

#include "demo/Demo.h"
#include "demo/ScriptedPlatform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/inputmap/KeyRemap.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class DemoWriter;
class FrameLoop;
class SessionObserver;
class RecordingPlatform;
class RemappingPlatform;
class TApplication;
class TForm1;

// How a headless session starts.
struct SessionStart {
    platform::TimeOfDay Utc;
    uint32_t Clock = 0;
    bool Foreground = true;
    // The window comes to the front as it is shown, as the headless platform's does.
    bool AutoFocus = true;
    std::vector<std::string> Arguments;
    // Records the session as a demo there when not empty; an existing file there is replaced
    // only when ReplaceDemo is set.
    std::string DemoFile;
    bool ReplaceDemo = false;
    // Told at once when the demo cannot be written on (a full disk), while the session goes on.
    std::function<void(const std::string& message)> OnDemoFailure;
    // A daily session on this date: the game is given the date's seed as its time of day, and Utc
    // is the real time of day the session starts at.
    std::optional<UtcDate> Daily;
    // Frames step the rules alone, without drawing, as a verifying replay does.
    bool RulesOnly = false;
    // The player's interface of the desktop game: the title's hint line and pause.
    bool Interface = false;
    // The keys as the player's settings bind them, applied before the game (and its demo) reads them.
    platform::KeyRemap Keys;
    // Told of every frame and of the end (at CloseDemo); it must outlive the session.
    SessionObserver* Observer = nullptr;
};

// The real game on a scripted headless platform, frame by frame, recorded when asked: what the
// simulator and the demo-making tools drive.
class HeadlessSession {
public:
    // Raises std::runtime_error (platform::FileWriteError) when the demo file cannot be made.
    explicit HeadlessSession(const SessionStart& start);
    ~HeadlessSession();

    // Makes the main form; false (the error shown) when it cannot be made.
    bool MakeForm();
    // Runs frames; false once the application has ended.
    bool Frames(long long count);
    // An input for the next frame.
    void Apply(const DemoInput& input) { scripted_.Apply(input); }
    // The clock step of each frame in milliseconds; -1 for 60 Hz (k x 1000 / 60 ms at frame k).
    void SetTick(long long tick) { tick_ = tick; }

    uint64_t Frame() const;
    TForm1& Form() const { return *form_; }
    // FNV-1a hash of the screen as last presented.
    uint64_t ScreenHashNow() const;
    std::string State() const;
    // The screen as a PNG file; false when it cannot be written, `error` then telling why.
    bool Shot(const std::string& file, std::string& error) const;
    // Tells the observer that the session ends, ends the application and finishes the demo; false
    // when it could not be written completely. Only Frame may be asked afterwards.
    bool CloseDemo();
    // The demo being recorded; null when none is.
    DemoWriter* Writer() const { return writer_.get(); }

    // Called with each error that reaches the error box.
    std::function<void(const std::string& message)> OnError;

private:
    uint32_t NextClockStep();

    platform::HeadlessPlatform headless_;
    ScriptedPlatform scripted_;
    std::unique_ptr<RemappingPlatform> remap_;
    std::unique_ptr<DemoWriter> writer_;
    std::unique_ptr<RecordingPlatform> recorder_;
    std::unique_ptr<TApplication> application_;
    TForm1* form_ = nullptr;
    std::unique_ptr<FrameLoop> loop_;
    bool rulesOnly_ = false;
    bool interface_ = false;
    std::optional<DemoDaily> daily_;
    SessionObserver* observer_ = nullptr;
    long long tick_ = -1;
    uint64_t clockFrames_ = 0;
    uint64_t elapsedMs_ = 0;
    uint64_t frames_ = 0;
};
