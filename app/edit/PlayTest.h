#pragma once

#include "platform/app/Platform.h"

#include <memory>
#include <string>
#include <vector>

class DemoWriter;
class FrameLoop;
class PlayTestWindow;
class RecordingPlatform;
class TApplication;
class TForm1;

// A play-test: the real game, its main form made as the program makes it and started with
// --level N, so that it plays the level from its start by the game's own rules, in the editor's
// window. Recorded when asked, into a demo that `vorkalith --levels FOLDER --playback DEMO`
// plays back. It ends when the game leaves play (Esc, or no energy left), when the level is done,
// or when the window is closed.
class PlayTest {
public:
    struct Start {
        int Level = 1;
        std::string LevelFolder; // holds Level.vrk, the level as edited
        std::string RecordFile;  // the demo to record; empty for none
    };
    enum class State { Playing, Left, LevelDone, WindowClosed };

    // Throws std::runtime_error with a one-line reason when the demo cannot be made or the game
    // cannot start. The game reads its levels from Start.LevelFolder while the play-test lasts.
    PlayTest(platform::Platform& window, const Start& start);
    ~PlayTest();
    PlayTest(const PlayTest&) = delete;
    PlayTest& operator=(const PlayTest&) = delete;

    // The game's command line for a start at `level`.
    static std::vector<std::string> Arguments(int level);

    // One pass of the game's message loop: its events and one frame. Playing until it has ended.
    State Pass();
    TForm1& Form() const { return *form_; }
    uint64_t Frames() const;
    // Ends the recording; false when the demo could not be written completely (true when none was made).
    bool FinishRecording();

private:
    Start start_;
    std::string previousFolder_;
    std::unique_ptr<PlayTestWindow> window_;
    std::unique_ptr<DemoWriter> writer_;
    std::unique_ptr<RecordingPlatform> recorder_;
    std::unique_ptr<TApplication> application_;
    TForm1* form_ = nullptr;
    std::unique_ptr<FrameLoop> loop_;
};
