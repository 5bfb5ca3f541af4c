#pragma once

#include "demo/Demo.h"
#include "records/RunRecord.h"

#include <memory>
#include <string>

class DemoPlayer;
class RunsFolder;
class TForm1;
namespace platform {
class Platform;
}

// A run of the records played again from its start: its session demo (while the game that records
// it still runs, the part written so far) replayed by the rules alone up to the frame before the
// run's first, as fast as it goes, then drawn frame by frame to the run's last.
class RunWatch {
public:
    // Reads the run's demo from `folder`, to be played in the window of `window` (null: headless).
    // Raises DemoError naming the file when it is missing, damaged, recorded with other level files
    // than those in use, or ends before the run does.
    RunWatch(platform::Platform* window, const RunsFolder& folder, const RunRecord& run);
    ~RunWatch();
    RunWatch(const RunWatch&) = delete;
    RunWatch& operator=(const RunWatch&) = delete;

    // Plays the next frame; false once the run's last frame has been played or the game has ended.
    bool Step();
    // The frames played so far come before the run's own (nothing of them is drawn).
    bool BeforeTheRun() const;
    // The window of the replay was closed.
    bool WindowClosed() const;
    // The final-state line after the last frame played.
    std::string FinalState() const;
    // Played to its last frame, the run ended in the state the record holds.
    bool MatchesRecord() const;
    TForm1& Form() const;

    // The file that holds the demo of `run` in `folder`: the session demo, or while its game still
    // records it (or ended without closing it) the file under its temporary name; empty when none.
    static std::string DemoFileOf(const RunsFolder& folder, const RunRecord& run);

private:
    RunRecord run_;
    Demo demo_;
    std::unique_ptr<DemoPlayer> player_;
};
