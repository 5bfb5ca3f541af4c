#pragma once

#include "demo/Demo.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

// Writes a demo as it is made. Lines are gathered in memory and written out every few seconds
// and at Close, so that a frame never waits for the disk and a crash loses only the last seconds.
// Frames without input and with the same clock step are written as one repeat line.
class DemoWriter {
public:
    // Opens (creates or empties) the file; raises std::runtime_error naming it when it cannot.
    explicit DemoWriter(const std::string& path);
    // Closes as Close does; errors are dropped.
    ~DemoWriter();
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;

    // The header lines; `daily` for a daily session.
    void Header(const platform::TimeOfDay& utc, uint32_t clock, bool foreground,
                const std::vector<std::string>& arguments, const std::optional<DemoDaily>& daily = std::nullopt);
    void Level(const LevelDigest& level);
    void Frame(const DemoFrame& frame);
    // Writes the end line and everything pending; false when the file could not be written.
    bool Close();

    // A whole demo as text, as the writer would leave it.
    static std::string Format(const Demo& demo);

    // How long lines may wait in memory.
    static constexpr std::chrono::seconds kFlushInterval{2};

private:
    void EndRun();
    void FlushIfDue();
    bool Flush();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string pending_;
    std::chrono::steady_clock::time_point lastFlush_;
    uint64_t frames_ = 0;
    // A run of input-free frames not yet written.
    uint32_t runCount_ = 0;
    uint32_t runDelta_ = 0;
    bool failed_ = false;
};
