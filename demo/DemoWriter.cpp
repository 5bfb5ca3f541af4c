#include "demo/DemoWriter.h"

#include "demo/DemoText.h"

#include <stdexcept>

namespace {

std::string HeaderText(const platform::TimeOfDay& utc, uint32_t clock, bool foreground,
                       const std::vector<std::string>& arguments, const std::optional<DemoDaily>& daily) {
    std::string text = std::string(kDemoMagic) + " " + std::to_string(kDemoVersion) + "\n";
    text += "utc " + demotext::FormatTime(utc) + "\n";
    if (daily) {
        text +=
            "daily " + DailyChallenge::FormatDate(daily->Date) + " " + demotext::FormatTime(daily->StartedAt) + "\n";
    }
    text += "clock " + std::to_string(clock) + "\n";
    text += std::string("foreground ") + (foreground ? "1" : "0") + "\n";
    for (const std::string& argument : arguments) {
        text += argument.empty() ? std::string("arg\n") : "arg " + demotext::Escape(argument) + "\n";
    }
    return text;
}

std::string LevelText(const LevelDigest& level) {
    return "level " + demotext::Escape(level.FileName) + " " + std::to_string(level.Bytes) + " " +
           demotext::FormatHash(level.Hash) + "\n";
}

std::string RunText(uint32_t count, uint32_t delta) {
    if (count == 1) {
        return "f " + std::to_string(delta) + "\n";
    }
    return "r " + std::to_string(count) + " " + std::to_string(delta) + "\n";
}

std::string FrameText(const DemoFrame& frame) {
    std::string text = "f " + std::to_string(frame.Delta);
    for (const DemoInput& input : frame.Inputs) {
        text += ' ';
        text += demotext::FormatInput(input);
    }
    return text + "\n";
}

} // namespace

DemoWriter::DemoWriter(const std::string& path)
    : file_(std::fopen(path.c_str(), "wb")), path_(path), lastFlush_(std::chrono::steady_clock::now()) {
    if (!file_) {
        throw std::runtime_error(path + ": cannot write the demo");
    }
}

DemoWriter::~DemoWriter() {
    Close();
}

void DemoWriter::Header(const platform::TimeOfDay& utc, uint32_t clock, bool foreground,
                        const std::vector<std::string>& arguments, const std::optional<DemoDaily>& daily) {
    pending_ += HeaderText(utc, clock, foreground, arguments, daily);
}

void DemoWriter::Level(const LevelDigest& level) {
    EndRun();
    pending_ += LevelText(level);
}

void DemoWriter::Frame(const DemoFrame& frame) {
    frames_ += frame.Repeat;
    if (frame.Inputs.empty()) {
        if (runCount_ > 0 && runDelta_ != frame.Delta) {
            EndRun();
        }
        runDelta_ = frame.Delta;
        runCount_ += frame.Repeat;
    } else {
        EndRun();
        pending_ += FrameText(frame);
    }
    FlushIfDue();
}

void DemoWriter::EndRun() {
    if (runCount_ > 0) {
        pending_ += RunText(runCount_, runDelta_);
        runCount_ = 0;
    }
}

void DemoWriter::FlushIfDue() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastFlush_ >= kFlushInterval) {
        // A run in progress goes out too, so that a crash keeps the frames so far.
        EndRun();
        Flush();
        lastFlush_ = now;
    }
}

bool DemoWriter::Flush() {
    if (!file_) {
        return false;
    }
    if (!pending_.empty()) {
        failed_ = failed_ || std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size();
        pending_.clear();
    }
    failed_ = failed_ || std::fflush(file_) != 0;
    return !failed_;
}

bool DemoWriter::Close() {
    if (!file_) {
        return !failed_;
    }
    EndRun();
    pending_ += "end " + std::to_string(frames_) + "\n";
    Flush();
    failed_ = failed_ || std::fclose(file_) != 0;
    file_ = nullptr;
    return !failed_;
}

std::string DemoWriter::Format(const Demo& demo) {
    std::string text = HeaderText(demo.Utc, demo.Clock, demo.Foreground, demo.Arguments, demo.Daily);
    // Level lines are not tied to frames in the text; they go before the frames.
    for (const LevelDigest& level : demo.Levels) {
        text += LevelText(level);
    }
    for (const DemoFrame& frame : demo.Frames) {
        text += frame.Inputs.empty() ? RunText(frame.Repeat, frame.Delta) : FrameText(frame);
    }
    return text + "end " + std::to_string(demo.FrameCount()) + "\n";
}
