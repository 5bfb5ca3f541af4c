#include "demo/DemoPlayer.h"

#include "demo/FrameLoop.h"
#include "demo/ScreenHash.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/headless/HeadlessPlatform.h"

#include <chrono>
#include <thread>

DemoPlayer::DemoPlayer(platform::Platform* window, const Demo& demo, Mode mode)
    : demo_(demo), mode_(mode), total_(demo.FrameCount()) {
    if (!window) {
        headless_ = std::make_unique<platform::HeadlessPlatform>();
    }
    scripted_ =
        std::make_unique<ScriptedPlatform>(window ? *window : *headless_, demo.Utc, demo.Clock, demo.Foreground);
    application_ = std::make_unique<TApplication>(*scripted_, demo.Arguments);
    application_->SetTitle("Vorkalith");
}

DemoPlayer::~DemoPlayer() {
    loop_.reset();
    application_.reset();
}

bool DemoPlayer::MakeForm() {
    form_ = CreateMainForm(*application_);
    if (!form_) {
        return false;
    }
    form_->RulesOnly = mode_ == Mode::RulesOnly;
    form_->CountQuickClicks = demo_.Version >= kQuickClicksDemoVersion;
    if (demo_.Interface) {
        form_->Interface = MakePlayerInterface(demo_.Daily);
    }
    loop_ = std::make_unique<FrameLoop>(*application_);
    return true;
}

bool DemoPlayer::Step() {
    if (Done() || !loop_) {
        return false;
    }
    // A frame repeated zero times stands for no frame at all. Not Done means a repeat is left,
    // so this stops on a frame to play.
    while (frame_ < demo_.Frames.size() && repeat_ >= demo_.Frames[frame_].Repeat) {
        ++frame_;
        repeat_ = 0;
    }
    const DemoFrame& frame = demo_.Frames[frame_];
    scripted_->BeginFrame(repeat_ == 0 ? frame : DemoFrame{frame.Delta, 1, {}});
    ++repeat_;
    ++played_;
    elapsedMs_ += frame.Delta;
    if (!loop_->Pass()) {
        gameEnded_ = true;
        endedEarly_ = played_ < total_ && !scripted_->WindowClosed();
    }
    return true;
}

bool DemoPlayer::Done() const {
    return gameEnded_ || played_ >= total_;
}

void DemoPlayer::Play(bool paced, const std::function<void()>& afterFrame) {
    const auto period = std::chrono::microseconds(1000000 / 60);
    auto due = std::chrono::steady_clock::now();
    while (Step()) {
        if (afterFrame) {
            afterFrame();
        }
        if (paced && !Done()) {
            due += period;
            std::this_thread::sleep_until(due);
        }
    }
}

uint64_t DemoPlayer::Frames() const {
    return loop_ ? loop_->Frames() : 0;
}

std::string DemoPlayer::FinalState() const {
    return StateJson::Final(*form_, Frames(), ScreenHash::OfForm(*form_));
}
