#pragma once

#include "demo/DemoWriter.h"
#include "demo/RecordingPlatform.h"

#include <memory>
#include <string>

// The player's game in the page recorded as a demo in the page's own memory file system, as
// `vorkalith --record` records on the desktop, so that the page can offer the run just played to
// a leaderboard server. Nothing leaves the page unless the player sends it.
class PageSession {
public:
    // The recording over the page's platform; null when the demo cannot be made (the game then
    // plays unrecorded).
    static std::unique_ptr<PageSession> Start(platform::Platform& page);

    // The platform the game runs on: the page's, with its inputs written down.
    platform::Platform& Platform() { return recorder_; }
    void BeginFrame() { recorder_.BeginFrame(); }
    void EndFrame() { recorder_.EndFrame(); }
    // The session so far as a whole demo; empty when it cannot be read back.
    std::string Demo() { return writer_->Snapshot(); }

private:
    PageSession(platform::Platform& page, std::unique_ptr<DemoWriter> writer);

    std::unique_ptr<DemoWriter> writer_;
    RecordingPlatform recorder_;
};
