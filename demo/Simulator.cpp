#include "demo/Simulator.h"

#include "demo/HeadlessSession.h"
#include "demo/JsonText.h"
#include "demo/LevelDigests.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"

#include <memory>

namespace {

using Kind = SimCommand::Kind;

// What the commands before the first frame set up.
struct Start {
    SessionStart Session;
    std::vector<LevelDigest> Levels;
};

Start ReadStart(std::string_view script, const Simulator::Options& options) {
    Start start;
    SessionStart& session = start.Session;
    session.Utc = options.Utc;
    session.DemoFile = options.DemoFile;
    session.ReplaceDemo = options.ReplaceDemo;
    session.Daily = options.Daily;
    session.Interface = options.Interface;
    session.Keys = options.Keys;
    session.Observer = options.Observer;
    SimScript::ForEach(script, [&](const SimCommand& c) {
        if (c.What == Kind::Frames) {
            return false;
        }
        if (c.What == Kind::Utc && !options.UtcGiven) {
            session.Utc = c.Utc;
        } else if (c.What == Kind::Clock) {
            session.Clock = static_cast<uint32_t>(c.Count);
        } else if (c.What == Kind::Arg) {
            session.Arguments.push_back(c.Text);
        } else if (c.What == Kind::Level) {
            start.Levels.push_back(c.Level);
        } else if (c.What == Kind::Daily && !options.Daily) {
            session.Daily = c.Date;
        } else if (c.What == Kind::Interface) {
            session.Interface = true;
        } else if (c.What == Kind::StartForeground) {
            session.Foreground = c.Count != 0;
            session.AutoFocus = false;
        }
        return true;
    });
    if (!options.Arguments.empty()) {
        session.Arguments = options.Arguments;
    }
    return start;
}

// One input command: a button without coordinates acts where the pointer is; `focus` moves the
// window as well, where a bare `event focus-...` only reports it.
class InputFeeder {
public:
    explicit InputFeeder(HeadlessSession& session) : session_(session) {}

    void Apply(const SimCommand& command) {
        DemoInput input = command.Input;
        using In = DemoInput::Kind;
        if (input.What == In::MouseMove) {
            pointerX_ = input.A;
            pointerY_ = input.B;
        } else if ((input.What == In::MouseDown || input.What == In::MouseUp) && command.Count == 0) {
            input.A = pointerX_;
            input.B = pointerY_;
        } else if ((input.What == In::FocusGained || input.What == In::FocusLost) && command.Count == 1) {
            session_.Apply(DemoInput{In::Foreground, input.What == In::FocusGained ? 1 : 0});
        }
        session_.Apply(input);
    }

private:
    HeadlessSession& session_;
    int pointerX_ = 0;
    int pointerY_ = 0;
};

} // namespace

int Simulator::Run(std::string_view script, const Options& options, const std::function<void(const std::string&)>& out,
                   const std::function<void(const std::string&)>& err) {
    Start start = ReadStart(script, options);
    start.Session.OnDemoFailure = err;
    int status = 0;
    for (const LevelDigest& level : start.Levels) {
        const LevelDigest now = LevelDigests::OfFile(level.FileName);
        if (now.Bytes != level.Bytes || now.Hash != level.Hash) {
            err(LevelDigests::DifferingMessage(level.FileName));
            status = 1;
        }
    }
    if (status != 0) {
        return status;
    }
    std::unique_ptr<HeadlessSession> run;
    try {
        run = std::make_unique<HeadlessSession>(start.Session);
    } catch (const std::exception& e) {
        if (!options.PlayUnrecorded) {
            err(e.what());
            return 1;
        }
        // The game goes on without its demo, and without the runs that would point into it.
        err(Fill(Tr("{}; this game is not recorded and its runs are not kept"), {e.what()}));
        start.Session.DemoFile.clear();
        start.Session.Observer = nullptr;
        run = std::make_unique<HeadlessSession>(start.Session);
    }
    run->OnError = [&out](const std::string& message) { out("{\"error\": " + jsontext::Quote(message) + "}"); };
    if (!run->MakeForm()) {
        return 1;
    }
    if (options.OnStart) {
        options.OnStart(*run);
    }
    InputFeeder feeder(*run);
    bool running = true;
    SimScript::ForEach(script, [&](const SimCommand& c) {
        switch (c.What) {
        case Kind::Frames:
            running = run->Frames(c.Count);
            break;
        case Kind::Input:
            feeder.Apply(c);
            break;
        case Kind::Tick:
            run->SetTick(c.Count);
            break;
        case Kind::State:
            out(run->State());
            break;
        case Kind::Shot:
            if (std::string error; !run->Shot(c.Text, error)) {
                err(error);
                status = 1;
            }
            break;
        default:
            break;
        }
        if (!running) {
            out("{\"terminated\": true}");
        }
        return running;
    });
    // What kept the demo from being written was told when it happened.
    if (!run->CloseDemo()) {
        status = 1;
    }
    return status;
}
