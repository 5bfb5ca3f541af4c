#pragma once

#include "records/RunKeeper.h"
#include "records/RunsFolder.h"

#include <functional>
#include <memory>
#include <string>

namespace platform {
class FileLock;
}

// What a game keeps of a session it plays: the session's demo in the runs folder and its runs in
// the records. Nothing here stops the game: a folder that cannot be used or a file that cannot be
// written is told once through the warning function, and the session plays on unrecorded.
class SessionRuns {
public:
    // Prepares `folder` (made when missing; the demos of games that ended without closing them put
    // in place) for a session; `dailyDate` marks the runs of a daily session.
    SessionRuns(const std::string& folder, const std::string& dailyDate, std::function<void(const std::string&)> warn);
    ~SessionRuns();

    // The folder can be used: the session is to be recorded at DemoPath.
    bool Ready() const { return ready_; }
    const std::string& DemoPath() const { return demoPath_; }
    const RunsFolder& Folder() const { return folder_; }
    // Follows the session's frames and keeps its runs.
    RunKeeper& Keeper() { return *keeper_; }
    // The demo is written at `workingPath` until it is closed: held so, other games leave it alone.
    void Recording(const std::string& workingPath);
    // The session's demo was not made: it is told, and nothing more is kept.
    void NotRecorded(const std::string& why);
    // After the session: the session demos that no record points to are removed past the bounds.
    void Tidy();

private:
    RunsFolder folder_;
    std::function<void(const std::string&)> warn_;
    bool ready_ = false;
    std::string demoName_;
    std::string demoPath_;
    std::unique_ptr<RunKeeper> keeper_;
    std::unique_ptr<platform::FileLock> lock_;
};
