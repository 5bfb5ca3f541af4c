#pragma once

#include "display/DXDraw.h"
#include "display/DXTimer.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The game's main form on the headless platform, started with the given command line.
class GameFixture : public ::testing::Test {
protected:
    void Start(std::vector<std::string> arguments = {}) {
        platform.EchoErrors = false;
        app = std::make_unique<TApplication>(platform, std::move(arguments));
        app->SetTitle("Vorkalith");
        form = static_cast<TForm1*>(&app->AddForm(std::make_unique<TForm1>(*app)));
        app->Step(); // shows the form (the display initialises) and activates it
    }

    // Runs the message loop for `count` idle calls, each one frame of the game.
    void RunFrames(int count) {
        for (int i = 0; i < count; ++i) {
            app->Step();
            app->Idle();
        }
    }

    void Mouse(platform::Event::Type kind, int x, int y, int button = 1) {
        platform.PushEvent(platform::Event{kind, x, y, button});
        app->Step();
    }

    platform::HeadlessPlatform platform;
    std::unique_ptr<TApplication> app;
    TForm1* form = nullptr;
};
