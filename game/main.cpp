// Vorkalith: starts the application with its main form and runs the message loop.
#include "game/MainForm.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/sdl/SdlPlatform.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::unique_ptr<platform::Platform> platform;
    try {
        platform = platform::CreateSdlPlatform();
    } catch (const std::exception& e) {
        std::cerr << "Vorkalith: " << e.what() << '\n';
        return 1;
    }
    TApplication application(*platform, std::vector<std::string>(argv + 1, argv + argc));
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
