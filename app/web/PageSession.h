#pragma once

#include "demo/DemoWriter.h"
#include "demo/FrameLoop.h"
#include "demo/RecordingPlatform.h"
#include "demo/WindowGate.h"
#include "records/RecordsKey.h"

#include <memory>
#include <string>

class PageRecordsVisit;
class RecordsStore;
class RunKeeper;
class TApplication;
class TForm1;

// The player's game in the page, a session as the desktop game plays one: with the player's
// interface (the title's hint, pause), recorded as a demo in the program's file system, each run
// that ends kept in the browser's records with the demo it lies in, and the records screen opened
// from the menu (R, the pad's Y). The recorded session is also what the page offers to a
// leaderboard server; nothing leaves the page unless the player sends it.
class PageSession {
public:
    // The session over the page's platform; null when its demo cannot be made (the game then
    // plays unrecorded, and keeps no runs).
    static std::unique_ptr<PageSession> Start(platform::Platform& page);
    ~PageSession();
    PageSession(const PageSession&) = delete;
    PageSession& operator=(const PageSession&) = delete;

    // The platform the game runs on: the page's, with its inputs written down.
    platform::Platform& Platform() { return recorder_; }
    // Plays `form` of `application` in the session: gives it the player's interface.
    void Attach(TApplication& application, TForm1& form);
    // One frame of the page: a pass of the game, recorded and its runs followed, or of the records
    // screen while it is open. False once the game has ended.
    bool Frame();
    // The runs the records screen lists while it is open; -1 when it is closed.
    int RecordsRows() const;
    // Whether a run of the records is being watched.
    bool Watching() const;
    // The session so far as a whole demo; empty when it cannot be read back.
    std::string Demo() { return writer_->Snapshot(); }

private:
    PageSession(platform::Platform& page, const std::string& demoName, std::unique_ptr<DemoWriter> writer);

    platform::Platform& page_;
    WindowGate gate_;
    std::unique_ptr<DemoWriter> writer_;
    RecordingPlatform recorder_;
    const RecordsStore* records_ = nullptr; // owned by the keeper
    std::unique_ptr<RunKeeper> keeper_;
    std::unique_ptr<FrameLoop> loop_;
    TForm1* form_ = nullptr;
    std::unique_ptr<PageRecordsVisit> visit_;
    // R in the menu opens the records screen.
    RecordsKey recordsKey_;
};
