#include "demo/DemoVerifier.h"

#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/InstalledLevels.h"
#include "demo/JsonText.h"
#include "demo/LevelDigests.h"
#include "game/LevelLoader.h"
#include "game/MainForm.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"
#include "platform/files/RegularFile.h"

#include <utility>

namespace {

// Watches the level files the game opens while it lives.
class LevelWatch {
public:
    LevelWatch() {
        SetLevelFileObserver([this](const std::string& fileName, std::span<const uint8_t> bytes) {
            opened_.push_back(LevelDigest{fileName, bytes.size(), LevelDigests::Of(bytes)});
        });
    }
    ~LevelWatch() { SetLevelFileObserver(nullptr); }
    LevelWatch(const LevelWatch&) = delete;
    LevelWatch& operator=(const LevelWatch&) = delete;

    // The files opened since the last call.
    std::vector<LevelDigest> Take() { return std::exchange(opened_, {}); }

private:
    std::vector<LevelDigest> opened_;
};

// Each of the levels 1 to `level` was read from the installed file.
bool OnInstalledLevels(const std::vector<LevelDigest>& read, int level) {
    for (int n = 1; n <= level; ++n) {
        const std::string name = LevelFileName(n);
        bool seen = false;
        for (const LevelDigest& file : read) {
            if (file.FileName == name) {
                if (!InstalledLevels::Matches(file)) {
                    return false;
                }
                seen = true;
            }
        }
        if (!seen) {
            return false;
        }
    }
    return true;
}

// The first game of a daily demo counts as the day's game when the game was given the seed of the
// stated date and the game started before that date ended.
std::optional<UtcDate> DailyDate(const Demo& demo, const GameRun& run) {
    if (!demo.Daily) {
        return std::nullopt;
    }
    const uint32_t seed = DailyChallenge::MillisecondsOf(DailyChallenge::SeedOf(demo.Daily->Date));
    if (DailyChallenge::MillisecondsOf(demo.Utc) != seed ||
        DailyChallenge::MillisecondsOf(demo.Daily->StartedAt) + run.StartMs >= DailyChallenge::kDayMilliseconds) {
        return std::nullopt;
    }
    return demo.Daily->Date;
}

// The files the game opens are the level files 1.vrk to 25.vrk (the one after the last level),
// read from the level folder; a demo naming any other file would have it read from wherever it
// points.
bool IsLevelFileName(const std::string& name) {
    for (int n = 1; n <= 25; ++n) {
        if (name == LevelFileName(n)) {
            return true;
        }
    }
    return false;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += text.empty() ? name : ", " + name;
    }
    return text;
}

} // namespace

Demo DemoVerifier::Read(const std::string& path) {
    const std::optional<platform::RegularFile> file = platform::RegularFile::Open(path);
    if (!file) {
        throw DemoError(0, Tr("cannot open (not a readable regular file)"), path);
    }
    if (file->Size() > kMaxFileBytes) {
        throw DemoError(0,
                        Fill(Tr("too large to verify ({} bytes, more than {})"),
                             {std::to_string(file->Size()), std::to_string(kMaxFileBytes)}),
                        path);
    }
    Demo demo = DemoReader::ReadFile(path);
    if (demo.FrameCount() > kMaxFrames) {
        throw DemoError(0,
                        Fill(Tr("too long to verify ({} frames, more than {}, two hours at 60 frames a second)"),
                             {std::to_string(demo.FrameCount()), std::to_string(kMaxFrames)}),
                        path);
    }
    for (const LevelDigest& level : demo.Levels) {
        if (!IsLevelFileName(level.FileName)) {
            throw DemoError(0, Tr("a level line names a file that the game never reads"), path);
        }
    }
    if (const std::vector<std::string> differing = LevelDigests::Differing(demo); !differing.empty()) {
        throw DemoError(0, LevelDigests::DifferingMessage(Joined(differing)), path);
    }
    return demo;
}

Verification DemoVerifier::Replay(const Demo& demo, uint64_t maxFrames) {
    Verification result;
    LevelWatch levels;
    DemoPlayer player(nullptr, demo, DemoPlayer::Mode::RulesOnly);
    if (!player.MakeForm()) {
        throw DemoError(0, Tr("the game cannot start"));
    }
    const TGame& world = player.Form().World;
    RunTracker tracker;
    // The level files read since the current run started.
    std::vector<LevelDigest> runLevels;
    auto report = [&](const GameRun& run) {
        VerifiedRun verified{run, OnInstalledLevels(runLevels, run.Level), std::nullopt};
        if (result.Runs.empty()) {
            verified.Daily = DailyDate(demo, run);
        }
        result.Runs.push_back(verified);
        runLevels.clear();
    };
    while (result.Frames < maxFrames && player.Step()) {
        // A pass that ended the program ran no frame.
        if (player.Frames() == result.Frames) {
            continue;
        }
        result.Frames = player.Frames();
        const GameRun* ended = tracker.AfterFrame(world, result.Frames, player.ElapsedMs());
        std::vector<LevelDigest> opened = levels.Take();
        if (ended || tracker.Current()) {
            runLevels.insert(runLevels.end(), opened.begin(), opened.end());
        }
        if (ended) {
            report(*ended);
        }
    }
    if (const GameRun* last = tracker.Finish(player.GameEnded() ? RunEnd::Closed : RunEnd::Unfinished)) {
        report(*last);
    }
    result.EndedEarly = player.EndedEarly();
    return result;
}

std::string DemoVerifier::Json(const VerifiedRun& run, std::size_t number) {
    const GameRun& r = run.Played;
    return jsontext::Object()
        .Add("Run", static_cast<long long>(number))
        .Add("FirstFrame", static_cast<long long>(r.FirstFrame))
        .Add("LastFrame", static_cast<long long>(r.LastFrame))
        .Add("BestScore", r.BestScore)
        .Add("Score", r.Score)
        .Add("Level", r.Level)
        .Add("OrbsEaten", r.OrbsEaten)
        .Add("Ended", jsontext::Quote(RunTracker::Name(r.End)))
        .Add("InstalledLevels", run.InstalledLevels ? "true" : "false")
        .Add("Daily", run.Daily ? jsontext::Quote(DailyChallenge::FormatDate(*run.Daily)) : "null")
        .Text();
}
