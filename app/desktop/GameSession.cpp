#include "app/desktop/GameSession.h"

#include "demo/DailyPlatform.h"
#include "demo/DemoReader.h"
#include "demo/DemoWriter.h"
#include "demo/FrameLoop.h"
#include "demo/RecordingPlatform.h"
#include "demo/RemappingPlatform.h"
#include "demo/WindowGate.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/base/Translate.h"
#include "records/RecordsFile.h"
#include "records/RecordsKey.h"
#include "records/RecordsScreen.h"
#include "records/RunSender.h"
#include "records/RunWatch.h"
#include "records/SessionRuns.h"
#include "records/WatchPacer.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

namespace {

void Warn(const std::string& message) {
    std::cerr << "vorkalith: " << message << std::endl;
}

} // namespace

GameSession::GameSession(RemappingPlatform& keys, WindowGate& gate, Start start)
    : keys_(keys), gate_(gate), start_(std::move(start)) {}

GameSession::Next GameSession::Run(bool& started) {
    std::unique_ptr<DailyPlatform> daily;
    platform::Platform* live = &gate_;
    if (start_.Daily) {
        daily = std::make_unique<DailyPlatform>(gate_);
        live = daily.get();
    }
    const std::optional<DemoDaily> dailyDemo = daily ? std::optional<DemoDaily>(daily->Daily()) : std::nullopt;
    SessionRuns runs(RunsFolder::Default(), daily ? DailyChallenge::FormatDate(daily->Daily().Date) : "", Warn);
    std::unique_ptr<DemoWriter> writer;
    if (runs.Ready()) {
        try {
            writer = std::make_unique<DemoWriter>(runs.DemoPath());
            writer->OnFailure = Warn;
        } catch (const std::exception& e) {
            runs.NotRecorded(e.what());
        }
    }
    std::unique_ptr<RecordingPlatform> recorder;
    if (writer) {
        recorder = std::make_unique<RecordingPlatform>(*live, *writer, start_.Arguments, dailyDemo, true);
        runs.Recording(writer->WorkingPath());
    }
    RunKeeper* keeper = writer ? &runs.Keeper() : nullptr;

    Next next = Next::Quit;
    {
        TApplication application(recorder ? *recorder : *live, start_.Arguments);
        application.SetTitle("Vorkalith");
        TForm1* form = CreateMainForm(application);
        started = form != nullptr;
        if (!form) {
            if (writer) {
                writer->Abandon();
            }
            return Next::Quit;
        }
        form->Interface = MakePlayerInterface(dailyDemo);
        FrameLoop loop(application);
        RecordsKey recordsKey;
        bool more = true;
        while (more) {
            if (recorder) {
                recorder->BeginFrame();
            }
            const uint64_t before = loop.Frames();
            more = loop.Pass();
            if (recorder) {
                recorder->EndFrame();
            }
            if (keeper && loop.Frames() != before) {
                keeper->AfterFrame(*form, loop.Frames(), recorder->ElapsedMs());
            }
            if (!more) {
                break;
            }
            platform::KeyState keys{};
            keys_.GetEveryKey(keys);
            if (recordsKey.Opens(keys, *form)) {
                if (writer) {
                    writer->Sync();
                }
                if (VisitRecords(*form, keeper)) {
                    next = Next::Daily;
                    break;
                }
                recordsKey.ScreenClosed();
            }
        }
        if (keeper) {
            keeper->SessionEnded(*form, loop.Ended() && next == Next::Quit, loop.Frames(), recorder->ElapsedMs());
        }
    }
    recorder.reset();
    if (writer) {
        writer->Close();
    }
    runs.Tidy();
    if (next == Next::Daily) {
        gate_.NewSession();
    }
    return next;
}

bool GameSession::VisitRecords(TForm1& form, const RunKeeper* keeper) {
    const std::string folder = RunsFolder::Default();
    RecordsUpdate records = RecordsFile(folder).Read();
    if (!records.Warning.empty()) {
        Warn(records.Warning);
    }
    RecordsScreen screen(records.Table, keeper ? keeper->LastKept() : std::nullopt,
                         !start_.Server.empty() && start_.Submitter != nullptr);
    if (!records.Error.empty()) {
        screen.SetNote(Tr("Таблицу рекордов не прочесть"));
        Warn(records.Error);
    }
    const auto period = std::chrono::microseconds(1000000 / 60);
    for (;;) {
        platform::Event event;
        RecordsScreen::Action action = RecordsScreen::Action::None;
        while (gate_.PollWindow(event)) {
            if (event.Kind == platform::Event::Type::Quit) {
                gate_.Hold(event);
                return false;
            }
            const RecordsScreen::Action clicked = screen.Mouse(event);
            action = clicked != RecordsScreen::Action::None ? clicked : action;
            gate_.Hold(event);
        }
        platform::KeyState keys{};
        keys_.GetEveryKey(keys);
        if (const RecordsScreen::Action pressed = screen.Keys(keys); pressed != RecordsScreen::Action::None) {
            action = pressed;
        }
        switch (action) {
        case RecordsScreen::Action::Close:
            return false;
        case RecordsScreen::Action::Daily:
            return true;
        case RecordsScreen::Action::Watch:
            if (const RunRecord* run = screen.SelectedRun()) {
                screen.SetNote("");
                try {
                    WatchedWindow window(gate_);
                    RunWatch watch(&window, RunsFolder(folder), *run);
                    WatchPacer pacer(&keys_);
                    while (watch.Step() && (watch.BeforeTheRun() || pacer.Frame())) {
                    }
                    if (watch.WindowClosed()) {
                        gate_.Hold(platform::Event{platform::Event::Type::Quit});
                        return false;
                    }
                } catch (const DemoError& e) {
                    Warn(e.what());
                    screen.SetNote(Tr("Этот забег не посмотреть: его запись пропала или испорчена"));
                }
                // The keys that ended the watch must be let go before they act here.
                screen.Keys(platform::KeyState{});
                keys_.GetEveryKey(keys);
                screen.Keys(keys);
            }
            break;
        case RecordsScreen::Action::Submit:
            if (const RunRecord* run = screen.SelectedRun(); run && start_.Submitter) {
                screen.SetNote(start_.Submitter->Submit(*run, RunWatch::DemoFileOf(RunsFolder(folder), *run)));
            }
            break;
        case RecordsScreen::Action::None:
            break;
        }
        screen.Draw(form);
        std::this_thread::sleep_for(period);
    }
}
