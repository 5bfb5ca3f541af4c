#pragma once

#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/headless/HeadlessPlatform.h"

#include <memory>
#include <string>
#include <vector>

// The real game on the headless 640 x 480 display, its main form made and shown, for the frame
// benchmarks. Slow flip (the default here) keeps presentation out of the frame handler; without
// it every frame is flipped to the headless screen as the game shows it.
struct BenchGame {
    explicit BenchGame(bool present = false) {
        platform.EchoErrors = false;
        app = std::make_unique<TApplication>(platform,
                                             present ? std::vector<std::string>{} : std::vector<std::string>{"-sf"});
        form = CreateMainForm(*app);
        app->Step();
    }
    platform::HeadlessPlatform platform;
    std::unique_ptr<TApplication> app;
    TForm1* form = nullptr;
};
