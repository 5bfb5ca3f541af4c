#include "demo/HeadlessSession.h"

#include "demo/DemoWriter.h"
#include "demo/FrameLoop.h"
#include "demo/RecordingPlatform.h"
#include "demo/RemappingPlatform.h"
#include "demo/ScreenHash.h"
#include "demo/SessionObserver.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/png/PngWriter.h"

HeadlessSession::HeadlessSession(const SessionStart& start)
    : scripted_(headless_, start.Daily ? DailyChallenge::SeedOf(*start.Daily) : start.Utc, start.Clock,
                start.Foreground),
      rulesOnly_(start.RulesOnly), interface_(start.Interface), observer_(start.Observer) {
    headless_.EchoErrors = false;
    scripted_.OnError = [this](const std::string& message) {
        if (OnError) {
            OnError(message);
        }
    };
    if (start.Daily) {
        daily_ = DemoDaily{*start.Daily, start.Utc};
    }
    platform::Platform* top = &scripted_;
    if (!start.Keys.Empty()) {
        remap_ = std::make_unique<RemappingPlatform>(scripted_, start.Keys);
        top = remap_.get();
    }
    if (!start.DemoFile.empty()) {
        writer_ = std::make_unique<DemoWriter>(start.DemoFile, start.ReplaceDemo);
        writer_->OnFailure = start.OnDemoFailure;
        recorder_ = std::make_unique<RecordingPlatform>(*top, *writer_, start.Arguments, daily_, interface_);
        top = recorder_.get();
    }
    application_ = std::make_unique<TApplication>(*top, start.Arguments);
    application_->SetTitle("Vorkalith");
    if (start.AutoFocus) {
        scripted_.Apply(DemoInput{DemoInput::Kind::FocusGained});
    }
}

HeadlessSession::~HeadlessSession() {
    // The application goes first: its form still calls the platforms while it is destroyed.
    loop_.reset();
    application_.reset();
    recorder_.reset();
}

bool HeadlessSession::MakeForm() {
    form_ = CreateMainForm(*application_);
    if (!form_) {
        return false;
    }
    form_->RulesOnly = rulesOnly_;
    if (interface_) {
        form_->Interface = MakePlayerInterface(daily_);
    }
    loop_ = std::make_unique<FrameLoop>(*application_);
    return true;
}

bool HeadlessSession::Frames(long long count) {
    for (long long i = 0; i < count; ++i) {
        const uint32_t step = NextClockStep();
        elapsedMs_ += step;
        scripted_.StepClock(step);
        if (recorder_) {
            recorder_->BeginFrame();
        }
        const uint64_t before = loop_->Frames();
        const bool more = loop_->Pass();
        if (recorder_) {
            recorder_->EndFrame();
        }
        // A pass that ended the program may have run no frame.
        if (observer_ && loop_->Frames() != before) {
            observer_->AfterFrame(*form_, Frame(), elapsedMs_);
        }
        if (!more) {
            return false;
        }
    }
    return true;
}

uint64_t HeadlessSession::Frame() const {
    return loop_ ? loop_->Frames() : frames_;
}

uint64_t HeadlessSession::ScreenHashNow() const {
    return ScreenHash::Of(headless_.ScreenBits);
}

std::string HeadlessSession::State() const {
    return StateJson::Full(*form_, Frame(), ScreenHashNow());
}

bool HeadlessSession::Shot(const std::string& file, std::string& error) const {
    return WritePng(file, headless_.ScreenImage(), error);
}

bool HeadlessSession::CloseDemo() {
    if (observer_ && form_) {
        observer_->SessionEnded(*form_, loop_->Ended(), Frame(), elapsedMs_);
        observer_ = nullptr;
    }
    if (!writer_) {
        return true;
    }
    // The form calls on the platforms while it is destroyed, so the application ends first.
    frames_ = Frame();
    loop_.reset();
    application_.reset();
    form_ = nullptr;
    recorder_.reset();
    return writer_->Close();
}

uint32_t HeadlessSession::NextClockStep() {
    ++clockFrames_;
    if (tick_ >= 0) {
        return static_cast<uint32_t>(tick_);
    }
    return static_cast<uint32_t>(clockFrames_ * 1000 / 60 - (clockFrames_ - 1) * 1000 / 60);
}
