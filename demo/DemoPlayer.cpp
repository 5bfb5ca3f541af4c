#include "demo/DemoPlayer.h"

#include "demo/FrameLoop.h"
#include "demo/ScreenHash.h"
#include "demo/StateJson.h"
#include "game/MainForm.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"

#include <chrono>
#include <thread>

DemoPlayer::DemoPlayer(platform::Platform* window, const Demo& demo) : demo_(demo) {
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
    loop_ = std::make_unique<FrameLoop>(*application_);
    return true;
}

void DemoPlayer::Play(bool paced, const std::function<void()>& afterFrame) {
    const auto period = std::chrono::microseconds(1000000 / 60);
    auto due = std::chrono::steady_clock::now();
    const uint64_t total = demo_.FrameCount();
    uint64_t played = 0;
    for (const DemoFrame& frame : demo_.Frames) {
        for (uint32_t r = 0; r < frame.Repeat; ++r) {
            scripted_->BeginFrame(r == 0 ? frame : DemoFrame{frame.Delta, 1, {}});
            const bool more = loop_->Pass();
            ++played;
            if (afterFrame) {
                afterFrame();
            }
            if (!more) {
                endedEarly_ = played < total && !scripted_->WindowClosed();
                return;
            }
            if (paced) {
                due += period;
                std::this_thread::sleep_until(due);
            }
        }
    }
}

uint64_t DemoPlayer::Frames() const {
    return loop_ ? loop_->Frames() : 0;
}

std::string DemoPlayer::FinalState() const {
    return StateJson::Final(*form_, Frames(), ScreenHash::OfForm(*form_));
}
