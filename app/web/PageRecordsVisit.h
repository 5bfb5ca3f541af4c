#pragma once

#include "records/RecordsScreen.h"

#include <memory>
#include <optional>

class RecordsStore;
class RunWatch;
class TForm1;
class WatchedWindow;
class WindowGate;

// The records screen in the page, opened from the menu as on the desktop, run one frame at a time
// by the page's frame loop (a page cannot wait in a loop of its own). Enter or a click watches the
// chosen run from its start: the frames before its own are replayed by the rules alone within one
// frame, then one frame of the run is drawn a frame; Esc stops the watch, and closes the screen.
class PageRecordsVisit {
public:
    // `keys`: the page's keys (the pad's buttons among them); `gate`: the window the game shares
    // with the screen, whose events for the game it holds.
    PageRecordsVisit(TForm1& form, WindowGate& gate, platform::Platform& keys, const RecordsStore& records,
                     const std::optional<RunRecord>& marked);
    ~PageRecordsVisit();
    PageRecordsVisit(const PageRecordsVisit&) = delete;
    PageRecordsVisit& operator=(const PageRecordsVisit&) = delete;

    // One frame of the screen or of the run watched; false once the screen is closed.
    bool Frame();
    // The runs the screen lists.
    std::size_t Rows() const { return screen_.Table().size(); }
    // Whether a run is being watched.
    bool Watching() const { return watch_ != nullptr; }

private:
    void Watch(const RunRecord& run);
    // One drawn frame of the run watched; false once it is over or Esc was pressed.
    bool WatchFrame();
    // Keys held now count on the screen only once released.
    void IgnoreHeldKeys();

    TForm1& form_;
    WindowGate& gate_;
    platform::Platform& keys_;
    RecordsScreen screen_;
    std::unique_ptr<WatchedWindow> window_;
    std::unique_ptr<RunWatch> watch_;
    bool escHeld_ = true;
};
