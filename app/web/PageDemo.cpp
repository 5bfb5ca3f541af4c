#include "app/web/PageDemo.h"

#include "demo/DemoReader.h"
#include "demo/LevelDigests.h"
#include "platform/app/Platform.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/Translate.h"

#include <emscripten.h>

#include <vector>

namespace {
// Where the page's script puts the fetched demo.
constexpr const char* kDemoFile = "/vorkalith.demo";

// clang-format off
EM_JS(int, vk_demo_asked, (), { return Module.vkDemoAddress !== undefined ? 1 : 0; });
EM_JS(int, vk_demo_force, (), { return Module.vkDemoForce ? 1 : 0; });
EM_JS(int, vk_demo_text_bytes, (int what), { return lengthBytesUTF8(Module.vkDemoText(what)) + 1; });
EM_JS(void, vk_demo_text, (int what, char* buffer, int size), {
    stringToUTF8(Module.vkDemoText(what), buffer, size);
});

EM_JS(void, vk_demo_refused, (const char* message), {
    Module.vkDemoRefused = UTF8ToString(message);
    Module.vkDemoNote("", "demoRefused");
});

EM_JS(void, vk_demo_note, (const char* note), { Module.vkDemoNote(UTF8ToString(note)); });

// The note at the end in the page's language: the frames played, and the demo's when the game ended
// before it.
EM_JS(void, vk_demo_ended, (const char* finalState, int endedEarly, int frames, int total), {
    Module.vkDemoFinal = UTF8ToString(finalState);
    Module.vkDemoEndedEarly = endedEarly !== 0;
    Module.vkDemoEnded = true;
    Module.vkDemoNote("", endedEarly ? "demoEndedEarly" : "demoOver", {frames: frames, total: total});
});
// clang-format on

// 0 the demo's address as the page was given it, 1 why it could not be fetched (empty when it was).
std::string PageText(int what) {
    std::string text(static_cast<std::size_t>(vk_demo_text_bytes(what)), '\0');
    vk_demo_text(what, text.data(), static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

// `text` with {name} in it replaced by `value`.
std::string Filled(std::string text, const std::string& name, const std::string& value) {
    const std::string mark = "{" + name + "}";
    if (const std::size_t at = text.find(mark); at != std::string::npos) {
        text.replace(at, mark.size(), value);
    }
    return text;
}
} // namespace

bool PageDemo::Asked() {
    return vk_demo_asked() != 0;
}

std::string PageDemo::Read(Demo& demo, std::string& warning) {
    const std::string address = PageText(0);
    if (std::string fetchError = PageText(1); !fetchError.empty()) {
        return fetchError;
    }
    // As on the desktop, forcing also plays a demo whose recording was cut short.
    const bool force = vk_demo_force() != 0;
    try {
        demo = DemoReader::ReadFile(kDemoFile, force);
    } catch (const DemoError& e) {
        // Named as the page's address names it, not by the file it was put in.
        return DemoError(e.Line, e.Message, address).what();
    } catch (const std::exception& e) {
        return Filled(Filled(Tr("{address}: не читается ({reason})"), "address", address), "reason", e.what());
    }
    std::string differing;
    for (const std::string& name : LevelDigests::Differing(demo)) {
        differing +=
            Filled(Tr("демонстрация записана с другим файлом {file}"), "file", platform::EscapeControls(name)) + "\n";
    }
    if (differing.empty()) {
        return {};
    }
    if (force) {
        warning = differing + Tr("(сыграна всё равно)");
        return {};
    }
    return differing + Tr("воспроизведение отклонено (&force=1 в адресе всё равно проиграет её)");
}

PageDemo::PageDemo(platform::Platform& window, Demo demo) : demo_(std::move(demo)), player_(&window, demo_) {}

std::unique_ptr<PageDemo> PageDemo::Open(platform::Platform& window) {
    Demo demo;
    std::string warning;
    if (const std::string refusal = Read(demo, warning); !refusal.empty()) {
        window.ShowErrorBox("Vorkalith", refusal);
        vk_demo_refused(refusal.c_str());
        return nullptr;
    }
    std::unique_ptr<PageDemo> page(new PageDemo(window, std::move(demo)));
    if (!warning.empty()) {
        vk_demo_note(warning.c_str());
    }
    if (!page->player_.MakeForm()) {
        return nullptr;
    }
    return page;
}

void PageDemo::Ended() {
    vk_demo_ended(player_.FinalState().c_str(), player_.EndedEarly() ? 1 : 0, static_cast<int>(player_.Frames()),
                  static_cast<int>(demo_.FrameCount()));
}
