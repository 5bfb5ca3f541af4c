#pragma once

#include "demo/Demo.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {
class AtomicFile;
}

// Writes a demo as it is made. Lines are gathered in memory and written out every few seconds
// and at Close, so that a frame never waits for the disk and a crash loses only the last seconds.
// Frames without input and with the same clock step are written as one repeat line. The demo is
// written under a temporary name beside the target and renamed at Close, so that a run that fails
// leaves an old file whole. Only whole lines reach the file: when a write fails (a full disk), the
// line it cut is taken back, the failure is reported at once through OnFailure and nothing more
// is written, so that the demo reads as a recording cut short (which --force plays).
class DemoWriter {
public:
    // Starts the demo; raises platform::FileWriteError naming the file and the cause when the
    // target is not a regular file or a new name, already exists and `replace` is false, or
    // cannot be made.
    explicit DemoWriter(const std::string& path, bool replace = false);
    // Closes as Close does; errors are dropped.
    ~DemoWriter();
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;

    // The header lines; `daily` for a daily session, `playerInterface` for one with the player's
    // interface.
    void Header(const platform::TimeOfDay& utc, uint32_t clock, bool foreground,
                const std::vector<std::string>& arguments, const std::optional<DemoDaily>& daily = std::nullopt,
                bool playerInterface = false);
    void Level(const LevelDigest& level);
    // A frame past the most a demo may hold (DemoReader::kMaxFrames) is not recorded: the demo
    // is full, which OnFailure is told once.
    void Frame(const DemoFrame& frame);
    // Writes the end line and everything pending and puts the file in place; false when the demo
    // could not be written completely (Error says why).
    bool Close();
    // Drops the demo: the temporary file goes and the target stays as it was.
    void Abandon();
    // The demo so far as a whole demo, as Close would leave it if called now, while recording
    // goes on (the page offers it for upload); empty when it cannot be read back.
    std::string Snapshot();
    // Writes out every frame so far at once, so that the file under WorkingPath reads back (as a
    // recording cut short) up to the last of them; false when the demo cannot be written on.
    bool Sync();
    // The file being written until Close puts it in place; empty once it has.
    std::string WorkingPath() const;

    // The first failure, naming the file and the cause ("" while there is none).
    const std::string& Error() const { return error_; }
    // Told at once of the first failure, while the game goes on.
    std::function<void(const std::string& message)> OnFailure;

    // A whole demo as text, as the writer would leave it.
    static std::string Format(const Demo& demo);

    // How long lines may wait in memory.
    static constexpr std::chrono::seconds kFlushInterval{2};

private:
    void EndRun();
    void FlushIfDue();
    void Flush();
    void Failure(const std::string& message);

    std::unique_ptr<platform::AtomicFile> file_;
    std::string pending_;
    std::chrono::steady_clock::time_point lastFlush_;
    uint64_t frames_ = 0;
    // A run of input-free frames not yet written.
    uint64_t runCount_ = 0;
    uint32_t runDelta_ = 0;
    bool full_ = false;
    std::string error_;
};
