#include "demo/Simulator.h"

#include "demo/DemoText.h"
#include "demo/DemoWriter.h"
#include "demo/FrameLoop.h"
#include "demo/JsonText.h"
#include "demo/LevelDigests.h"
#include "demo/RecordingPlatform.h"
#include "demo/ScreenHash.h"
#include "demo/ScriptedPlatform.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "platform/Application.h"
#include "platform/HeadlessPlatform.h"
#include "tools/common/PngWriter.h"

#include <memory>

namespace {

using Kind = SimCommand::Kind;

// What the commands before the first frame set up.
struct Start {
    platform::TimeOfDay Utc;
    uint32_t Clock = 0;
    bool Foreground = true;
    bool AutoFocus = true;
    std::vector<std::string> Arguments;
    std::vector<LevelDigest> Levels;
};

Start ReadStart(const std::vector<SimCommand>& commands, const Simulator::Options& options) {
    Start start;
    start.Utc = options.Utc;
    for (const SimCommand& c : commands) {
        if (c.What == Kind::Frames) {
            break;
        }
        if (c.What == Kind::Utc && !options.UtcGiven) {
            start.Utc = c.Utc;
        } else if (c.What == Kind::Clock) {
            start.Clock = static_cast<uint32_t>(c.Count);
        } else if (c.What == Kind::Arg) {
            start.Arguments.push_back(c.Text);
        } else if (c.What == Kind::Level) {
            start.Levels.push_back(c.Level);
        } else if (c.What == Kind::StartForeground) {
            start.Foreground = c.Count != 0;
            start.AutoFocus = false;
        }
    }
    if (!options.Arguments.empty()) {
        start.Arguments = options.Arguments;
    }
    return start;
}

// The script's run: the game on a scripted headless platform, recorded when asked.
class SimRun {
public:
    SimRun(const Start& start, const Simulator::Options& options, const std::function<void(const std::string&)>& out)
        : out_(out), scripted_(headless_, start.Utc, start.Clock, start.Foreground) {
        headless_.EchoErrors = false;
        scripted_.OnError = [this](const std::string& message) {
            out_("{\"error\": " + jsontext::Quote(message) + "}");
        };
        platform::Platform* top = &scripted_;
        if (!options.DemoFile.empty()) {
            writer_ = std::make_unique<DemoWriter>(options.DemoFile);
            recorder_ = std::make_unique<RecordingPlatform>(scripted_, *writer_, start.Arguments);
            top = recorder_.get();
        }
        application_ = std::make_unique<TApplication>(*top, start.Arguments);
        application_->SetTitle("Vorkalith");
        if (start.AutoFocus) {
            // The headless window comes to the front as it is shown.
            scripted_.Apply(DemoInput{DemoInput::Kind::FocusGained});
        }
    }

    ~SimRun() {
        application_.reset();
        recorder_.reset();
    }

    bool MakeForm() {
        try {
            form_ = static_cast<TForm1*>(&application_->AddForm(std::make_unique<TForm1>(*application_)));
        } catch (const std::exception& e) {
            application_->ShowException(e);
            return false;
        }
        loop_ = std::make_unique<FrameLoop>(*application_);
        return true;
    }

    // Runs frames; false once the application has ended.
    bool Frames(long long count) {
        for (long long i = 0; i < count; ++i) {
            const uint32_t before = NextClockStep();
            scripted_.StepClock(before);
            if (recorder_) {
                recorder_->BeginFrame();
            }
            const bool more = loop_->Pass();
            if (recorder_) {
                recorder_->EndFrame();
            }
            if (!more) {
                return false;
            }
        }
        return true;
    }

    void Apply(const SimCommand& command) {
        DemoInput input = command.Input;
        if (input.What == DemoInput::Kind::MouseMove) {
            pointerX_ = input.A;
            pointerY_ = input.B;
        } else if ((input.What == DemoInput::Kind::MouseDown || input.What == DemoInput::Kind::MouseUp) &&
                   command.Count == 0) {
            input.A = pointerX_;
            input.B = pointerY_;
        } else if (input.What == DemoInput::Kind::FocusGained || input.What == DemoInput::Kind::FocusLost) {
            // `focus` moves the window as well; a bare `event focus-...` only reports it.
            if (command.Count == 1) {
                scripted_.Apply(
                    DemoInput{DemoInput::Kind::Foreground, input.What == DemoInput::Kind::FocusGained ? 1 : 0});
            }
        }
        scripted_.Apply(input);
    }

    void SetTick(long long tick) { tick_ = tick; }

    std::string State() const {
        const uint64_t hash = ScreenHash::Of(headless_.ScreenBits);
        return StateJson::Full(*form_, loop_->Frames(), hash);
    }

    bool Shot(const std::string& file) const { return WritePng(file, headless_.Screen); }

    bool CloseDemo() { return !writer_ || (recorder_.reset(), writer_->Close()); }

private:
    uint32_t NextClockStep() {
        ++clockFrames_;
        if (tick_ >= 0) {
            return static_cast<uint32_t>(tick_);
        }
        // 60 Hz on the millisecond clock: frame k at k * 1000 / 60 ms.
        return static_cast<uint32_t>(clockFrames_ * 1000 / 60 - (clockFrames_ - 1) * 1000 / 60);
    }

    std::function<void(const std::string&)> out_;
    platform::HeadlessPlatform headless_;
    ScriptedPlatform scripted_;
    std::unique_ptr<DemoWriter> writer_;
    std::unique_ptr<RecordingPlatform> recorder_;
    std::unique_ptr<TApplication> application_;
    TForm1* form_ = nullptr;
    std::unique_ptr<FrameLoop> loop_;
    long long tick_ = -1;
    uint64_t clockFrames_ = 0;
    int pointerX_ = 0;
    int pointerY_ = 0;
};

} // namespace

int Simulator::Run(const std::vector<SimCommand>& commands, const Options& options,
                   const std::function<void(const std::string&)>& out,
                   const std::function<void(const std::string&)>& err) {
    const Start start = ReadStart(commands, options);
    int status = 0;
    for (const LevelDigest& level : start.Levels) {
        const LevelDigest now = LevelDigests::OfFile(level.FileName);
        if (now.Bytes != level.Bytes || now.Hash != level.Hash) {
            err("demo was recorded with another " + level.FileName);
            status = 1;
        }
    }
    if (status != 0) {
        return status;
    }
    std::unique_ptr<SimRun> run;
    try {
        run = std::make_unique<SimRun>(start, options, out);
    } catch (const std::exception& e) {
        err(e.what());
        return 1;
    }
    if (!run->MakeForm()) {
        return 1;
    }
    bool running = true;
    for (const SimCommand& c : commands) {
        switch (c.What) {
        case Kind::Frames:
            running = run->Frames(c.Count);
            break;
        case Kind::Input:
            run->Apply(c);
            break;
        case Kind::Tick:
            run->SetTick(c.Count);
            break;
        case Kind::State:
            out(run->State());
            break;
        case Kind::Shot:
            if (!run->Shot(c.Text)) {
                err(c.Text + ": cannot write the picture");
                status = 1;
            }
            break;
        default:
            break;
        }
        if (!running) {
            out("{\"terminated\": true}");
            break;
        }
    }
    if (!run->CloseDemo()) {
        err(options.DemoFile + ": the demo could not be written completely");
        status = 1;
    }
    return status;
}
