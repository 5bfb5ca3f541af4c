#include "records/RunWatch.h"

#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/LevelDigests.h"
#include "game/MainForm.h"
#include "records/RunsFolder.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string RunWatch::DemoFileOf(const RunsFolder& folder, const RunRecord& run) {
    const std::string path = folder.PathOf(run.Demo);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec))) {
        return path;
    }
    // A demo being written lies under its name followed by ".tmp" and a suffix of its writer.
    std::string found;
    fs::file_time_type newest{};
    const std::string prefix = run.Demo + ".tmp";
    for (fs::directory_iterator it(folder.Path(), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        const std::string name = it->path().filename().string();
        if (name.starts_with(prefix) && it->is_regular_file(fileError) &&
            (found.empty() || it->last_write_time(fileError) > newest)) {
            found = it->path().string();
            newest = it->last_write_time(fileError);
        }
    }
    return found;
}

RunWatch::RunWatch(platform::Platform* window, const RunsFolder& folder, const RunRecord& run) : run_(run) {
    const std::string path = DemoFileOf(folder, run);
    if (path.empty()) {
        throw DemoError(0, "the demo of this run is gone", folder.PathOf(run.Demo));
    }
    // The run has ended, so its frames are whole even where the session's demo is not.
    demo_ = DemoReader::ReadFile(path, true);
    if (demo_.FrameCount() < run.LastFrame) {
        throw DemoError(0,
                        "holds " + std::to_string(demo_.FrameCount()) + " frames, the run ends at frame " +
                            std::to_string(run.LastFrame),
                        path);
    }
    if (const std::vector<std::string> differing = LevelDigests::Differing(demo_); !differing.empty()) {
        throw DemoError(0, LevelDigests::DifferingMessage(differing.front()), path);
    }
    player_ = std::make_unique<DemoPlayer>(window, demo_);
    if (!player_->MakeForm()) {
        throw DemoError(0, "the game cannot start", path);
    }
    player_->Form().RulesOnly = BeforeTheRun();
}

RunWatch::~RunWatch() = default;

bool RunWatch::BeforeTheRun() const {
    return player_->Frames() + 1 < run_.FirstFrame;
}

bool RunWatch::Step() {
    if (player_->Frames() >= run_.LastFrame || !player_->Step()) {
        return false;
    }
    // The rules alone up to the frame before the run's first; from there each frame is drawn.
    player_->Form().RulesOnly = BeforeTheRun();
    return !player_->GameEnded();
}

bool RunWatch::WindowClosed() const {
    return player_->WindowClosed();
}

std::string RunWatch::FinalState() const {
    return player_->FinalState();
}

bool RunWatch::MatchesRecord() const {
    return player_->Frames() == run_.LastFrame && FinalState() == run_.FinalState;
}

TForm1& RunWatch::Form() const {
    return player_->Form();
}
