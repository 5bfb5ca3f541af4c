// Vorkalith: starts the application with its main form and runs the message loop.
#include "demo/DemoCommands.h"
#include "game/MainForm.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/SdlPlatform.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const DemoOptions demo = DemoOptions::Take(arguments);
    if (!demo.Error.empty()) {
        std::cerr << "vorkalith: " << demo.Error << '\n';
        return 2;
    }
    if (demo.Headless) {
        return PlayDemo(nullptr, demo.PlaybackFile, demo.Force);
    }
    std::unique_ptr<platform::Platform> platform;
    try {
        platform = platform::CreateSdlPlatform();
    } catch (const std::exception& e) {
        std::cerr << "Vorkalith: " << e.what() << '\n';
        return 1;
    }
    if (!demo.RecordFile.empty()) {
        return RecordGame(*platform, demo.RecordFile, arguments);
    }
    if (!demo.PlaybackFile.empty()) {
        return PlayDemo(platform.get(), demo.PlaybackFile, demo.Force);
    }
    TApplication application(*platform, arguments);
    application.SetTitle("Vorkalith");
    try {
        application.AddForm(std::make_unique<TForm1>(application));
    } catch (const std::exception& e) {
        application.ShowException(e);
        return 1;
    }
    application.Run();
    return 0;
}
