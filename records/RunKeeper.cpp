#include "records/RunKeeper.h"

#include "demo/ScreenHash.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string LocalTimeOf(int64_t ms) {
    const auto seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

} // namespace

RunKeeper::RunKeeper(std::unique_ptr<RecordsStore> records, std::string demoName, std::string dailyDate)
    : records_(std::move(records)), demoName_(std::move(demoName)), dailyDate_(std::move(dailyDate)) {}

void RunKeeper::AfterFrame(const TForm1& form, uint64_t frame, uint64_t elapsedMs) {
    const bool playing = tracker_.Current() != nullptr;
    const GameRun* ended = tracker_.AfterFrame(form.World, frame, elapsedMs);
    if (!playing && tracker_.Current()) {
        startedAt_ = NowMs();
        pausedMs_ = 0;
    } else if (playing && form.Interface && form.Interface->Paused()) {
        // Time paused is no time played.
        pausedMs_ += elapsedMs - lastElapsedMs_;
    }
    lastElapsedMs_ = elapsedMs;
    if (ended) {
        Keep(form, *ended, elapsedMs);
    }
}

void RunKeeper::SessionEnded(const TForm1& form, bool closed, uint64_t /*frames*/, uint64_t elapsedMs) {
    if (const GameRun* last = tracker_.Finish(closed ? RunEnd::Closed : RunEnd::Unfinished)) {
        Keep(form, *last, elapsedMs);
    }
}

void RunKeeper::Keep(const TForm1& form, const GameRun& run, uint64_t elapsedMs) {
    RunRecord record;
    record.BestScore = run.BestScore;
    record.Score = run.Score;
    record.Level = run.Level;
    record.OrbsEaten = run.OrbsEaten;
    record.PlayMs = elapsedMs - run.StartMs - std::min(pausedMs_, elapsedMs - run.StartMs);
    record.StartedAt = startedAt_;
    record.LocalTime = LocalTimeOf(startedAt_);
    record.Demo = demoName_;
    record.FirstFrame = run.FirstFrame;
    record.LastFrame = run.LastFrame;
    record.Ended = RunTracker::Name(run.End);
    record.Daily = dailyDate_;
    record.FinalState = StateJson::Final(form, run.LastFrame, ScreenHash::OfForm(form));

    RecordsUpdate update = records_->Add(record);
    if (!update.Warning.empty() && OnWarning) {
        OnWarning(update.Warning);
    }
    if (!update.Error.empty()) {
        if (!failureTold_ && OnWarning) {
            OnWarning(update.Error + "; the runs of this game are not kept");
        }
        failureTold_ = true;
        return;
    }
    table_ = std::move(update.Table);
    const bool made = std::any_of(table_.begin(), table_.end(), [&](const RunRecord& r) { return r.SameRun(record); });
    if (made) {
        lastKept_ = record;
    }
}
