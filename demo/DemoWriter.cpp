#include "demo/DemoWriter.h"

#include "demo/DemoReader.h"
#include "demo/DemoText.h"

#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/RegularFile.h"

#include <algorithm>
#include <cstdint>

namespace {

std::string HeaderText(const platform::TimeOfDay& utc, uint32_t clock, bool foreground,
                       const std::vector<std::string>& arguments, const std::optional<DemoDaily>& daily,
                       bool playerInterface) {
    std::string text = std::string(kDemoMagic) + " " + std::to_string(kDemoVersion) + "\n";
    text += "utc " + demotext::FormatTime(utc) + "\n";
    if (daily) {
        text +=
            "daily " + DailyChallenge::FormatDate(daily->Date) + " " + demotext::FormatTime(daily->StartedAt) + "\n";
    }
    if (playerInterface) {
        text += "interface " + std::to_string(kInterfaceVersion) + "\n";
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

// A run of `count` input-free frames, as lines whose repeat counts the reader takes.
std::string RunText(uint64_t count, uint32_t delta) {
    if (count == 1) {
        return "f " + std::to_string(delta) + "\n";
    }
    std::string text;
    while (count > 0) {
        const uint64_t line = std::min<uint64_t>(count, UINT32_MAX);
        text += "r " + std::to_string(line) + " " + std::to_string(delta) + "\n";
        count -= line;
    }
    return text;
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

DemoWriter::DemoWriter(const std::string& path, bool replace)
    : file_(std::make_unique<platform::AtomicFile>(path, replace ? platform::AtomicFile::Existing::Replace
                                                                 : platform::AtomicFile::Existing::Refuse)),
      lastFlush_(std::chrono::steady_clock::now()) {}

DemoWriter::~DemoWriter() {
    Close();
}

void DemoWriter::Header(const platform::TimeOfDay& utc, uint32_t clock, bool foreground,
                        const std::vector<std::string>& arguments, const std::optional<DemoDaily>& daily,
                        bool playerInterface) {
    pending_ += HeaderText(utc, clock, foreground, arguments, daily, playerInterface);
}

void DemoWriter::Level(const LevelDigest& level) {
    if (full_) {
        return;
    }
    EndRun();
    pending_ += LevelText(level);
}

void DemoWriter::Frame(const DemoFrame& frame) {
    if (full_ || frames_ + frame.Repeat > DemoReader::kMaxFrames) {
        if (!full_) {
            full_ = true;
            Failure(
                Fill(Tr("{}: the demo is full at {} frames; the rest of the game is not recorded"),
                     {platform::EscapeControls(file_ ? file_->Path() : std::string("demo")), std::to_string(frames_)}));
        }
        return;
    }
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

void DemoWriter::Flush() {
    if (!file_ || pending_.empty()) {
        return;
    }
    if (file_->Failed()) {
        pending_.clear();
        return;
    }
    const uint64_t before = file_->Size();
    if (!file_->Write(pending_)) {
        // The line the failure cut goes again, so that the file ends with a whole line.
        const auto written = static_cast<std::size_t>(file_->Size() - before);
        const std::size_t lastNewline = std::string_view(pending_).substr(0, written).rfind('\n');
        file_->Truncate(before + (lastNewline == std::string::npos ? 0 : lastNewline + 1));
        Failure(Fill(Tr("{}; the demo is cut short there (--force plays it)"), {file_->Error()}));
    }
    pending_.clear();
}

void DemoWriter::Failure(const std::string& message) {
    if (!error_.empty()) {
        return;
    }
    error_ = message;
    if (OnFailure) {
        OnFailure(message);
    }
}

bool DemoWriter::Close() {
    if (!file_) {
        return error_.empty();
    }
    EndRun();
    pending_ += "end " + std::to_string(frames_) + "\n";
    Flush();
    if (!file_->Commit()) {
        Failure(file_->Error());
    }
    file_.reset();
    return error_.empty();
}

void DemoWriter::Abandon() {
    file_.reset();
    pending_.clear();
}

std::string DemoWriter::Snapshot() {
    if (!file_ || !error_.empty()) {
        return {};
    }
    // The run in progress goes out as it stands; the next frames start a run of their own.
    EndRun();
    Flush();
    const std::optional<std::vector<uint8_t>> written =
        platform::RegularFile::ReadAll(file_->TemporaryPath(), DemoReader::kMaxFileBytes);
    if (!written || !error_.empty()) {
        return {};
    }
    return std::string(written->begin(), written->end()) + "end " + std::to_string(frames_) + "\n";
}

bool DemoWriter::Sync() {
    EndRun();
    Flush();
    lastFlush_ = std::chrono::steady_clock::now();
    return error_.empty();
}

std::string DemoWriter::WorkingPath() const {
    return file_ ? file_->TemporaryPath() : std::string();
}

std::string DemoWriter::Format(const Demo& demo) {
    std::string text = HeaderText(demo.Utc, demo.Clock, demo.Foreground, demo.Arguments, demo.Daily, demo.Interface);
    // Level lines are not tied to frames in the text; they go before the frames.
    for (const LevelDigest& level : demo.Levels) {
        text += LevelText(level);
    }
    for (const DemoFrame& frame : demo.Frames) {
        text += frame.Inputs.empty() ? RunText(frame.Repeat, frame.Delta) : FrameText(frame);
    }
    return text + "end " + std::to_string(demo.FrameCount()) + "\n";
}
