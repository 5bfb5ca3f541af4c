#include "demo/HeadlessSession.h"

#include "demo/DemoWriter.h"
#include "demo/FrameLoop.h"
#include "demo/RecordingPlatform.h"
#include "demo/ScreenHash.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/png/PngWriter.h"

HeadlessSession::HeadlessSession(const SessionStart& start)
    : scripted_(headless_, start.Daily ? DailyChallenge::SeedOf(*start.Daily) : start.Utc, start.Clock,
                start.Foreground),
      rulesOnly_(start.RulesOnly) {
    headless_.EchoErrors = false;
    scripted_.OnError = [this](const std::string& message) {
        if (OnError) {
            OnError(message);
        }
    };
    platform::Platform* top = &scripted_;
    if (!start.DemoFile.empty()) {
        writer_ = std::make_unique<DemoWriter>(start.DemoFile, start.ReplaceDemo);
        writer_->OnFailure = start.OnDemoFailure;
        std::optional<DemoDaily> daily;
        if (start.Daily) {
            daily = DemoDaily{*start.Daily, start.Utc};
        }
        recorder_ = std::make_unique<RecordingPlatform>(scripted_, *writer_, start.Arguments, daily);
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
    loop_ = std::make_unique<FrameLoop>(*application_);
    return true;
}

bool HeadlessSession::Frames(long long count) {
    for (long long i = 0; i < count; ++i) {
        scripted_.StepClock(NextClockStep());
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
