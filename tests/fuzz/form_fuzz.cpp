// Stored forms: each input is read as a stored form and loaded into the game's main form on a fresh headless
// application. A form that loads is shown, which initialises the display, builds the pictures into patterns and builds
// the world at the first activation, and then runs two frames: whatever the loader accepts must be safe to run.
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/files/FormStream.h"
#include "platform/headless/HeadlessPlatform.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TStoredForm stored;
    try {
        stored = ReadStoredForm(data, size);
    } catch (const std::exception&) {
        return 0; // refused by the reader
    }
    platform::HeadlessPlatform platform;
    platform.EchoErrors = false;
    TApplication app(platform, std::vector<std::string>{"-sf"});
    try {
        app.AddForm(std::make_unique<TForm1>(app, stored));
    } catch (const std::exception&) {
        return 0; // refused by the loader or a component
    }
    for (int frame = 0; frame < 2 && app.Step(); ++frame) {
        app.Idle();
    }
    return 0;
}
