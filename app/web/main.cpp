// Vorkalith in a web page: starts the application with its main form and runs one step of the
// message loop per frame, frames driven by the browser's animation frames and paced to 60 Hz; the
// player's game is a session that keeps its runs in the browser's records (PageSession).
// With ?demo=URL in the page's address a recorded demo is played instead, one demo frame per
// frame, its last frame held at the end.
#include "app/web/PageDemo.h"
#include "app/web/PageSession.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/base/Translate.h"
#include "platform/time/FramePacer.h"
#include "platform/web/WebPlatform.h"
#include "sprite/ImageSprite.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
// clang-format off
// Frame counts and time spent in frames, for the page's own checks and measurements: the total,
// and the last 600 frames' steps each.
EM_JS(void, vk_frame_stats, (int frames, double handlerMs, double stepMs), {
    Module.vkFrames = frames;
    Module.vkHandlerMs = handlerMs;
    Module.vkSteps = Module.vkSteps || new Float64Array(600);
    Module.vkSteps[frames % 600] = stepMs;
});

// The recorded session handed to the page's script, which sends it to a leaderboard server when
// the player asks.
EM_JS(void, vk_hand_session, (const char* text, int size), {
    Module.vkSessionDemo = HEAPU8.slice(text, text + size);
});

EM_JS(void, vk_game_ended, (), {
    Module.vkEnded = true;
    if (typeof document !== "undefined") {
        document.body.classList.add("ended");
    }
});

// The page's language and its translations (texts.js): the language's code, then each source
// text (part 0) and its translation (part 1) by index.
EM_JS(int, vk_translation_count, (), {
    if (typeof VkTranslations === "undefined" || !VkLanguage) {
        return 0;
    }
    Module.vkTranslationKeys = Object.keys(VkTranslations);
    return Module.vkTranslationKeys.length;
});
EM_JS(int, vk_translation_bytes, (int index, int part), {
    var key = Module.vkTranslationKeys[index];
    return lengthBytesUTF8(index < 0 ? VkLanguage : part ? VkTranslations[key] : key) + 1;
});
EM_JS(void, vk_translation_text, (int index, int part, char* buffer, int size), {
    var key = Module.vkTranslationKeys[index];
    stringToUTF8(index < 0 ? VkLanguage : part ? VkTranslations[key] : key, buffer, size);
});

// clang-format on

std::string TranslationText(int index, int part) {
    std::string text(static_cast<std::size_t>(vk_translation_bytes(index, part)), '\0');
    vk_translation_text(index, part, text.data(), static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

// The texts in the page's language, before the form (with its pictures) is made.
void UsePageLanguage() {
    const int count = vk_translation_count();
    if (count == 0) {
        return;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int i = 0; i < count; ++i) {
        pairs.emplace_back(TranslationText(i, 0), TranslationText(i, 1));
    }
    SetTranslations(TranslationText(-1, 0), std::move(pairs));
}

struct Game {
    platform::WebPlatform Platform;
    // The player's game, recorded and its runs kept; none when a demo plays instead.
    std::unique_ptr<PageSession> Session = PageDemo::Asked() ? nullptr : PageSession::Start(Platform);
    TApplication Application{Session ? Session->Platform() : Platform};
    std::unique_ptr<PageDemo> Demo; // set when a demo plays in place of the game
    platform::FramePacer Pacer;
    int Frames = 0;
    double HandlerMs = 0.0;
};

std::unique_ptr<Game> game;

EM_BOOL Frame(double now, void*) {
    // The error box holds the loop as a modal box does; a hidden page runs no frames (and the
    // browser sends none); neither is caught up afterwards.
    if (game->Platform.ErrorBoxOpen() || game->Platform.PageHidden()) {
        game->Pacer.Reset();
        return EM_TRUE;
    }
    if (!game->Pacer.FrameDue(now)) {
        return EM_TRUE;
    }
    const double start = emscripten_get_now();
    if (game->Demo) {
        game->Demo->Player().Step();
    } else if (game->Session) {
        game->Session->Frame();
    } else if (game->Application.Step()) {
        game->Application.Idle();
    }
    const double stepMs = emscripten_get_now() - start;
    game->HandlerMs += stepMs;
    vk_frame_stats(++game->Frames, game->HandlerMs, stepMs);
    if (game->Demo && game->Demo->Player().Done()) {
        // The canvas keeps the last frame shown.
        game->Demo->Ended();
        return EM_FALSE;
    }
    if (game->Application.Terminated()) {
        vk_game_ended();
        return EM_FALSE;
    }
    return EM_TRUE;
}
} // namespace

// A look at the game for the page's browser test: 0 the game state, 1 and 2 the ship's position,
// 3 its heading, 4 whether the menu has slid into place, 5 the runs the records screen lists (-1
// while it is closed), 6 whether a run of the records is watched.
extern "C" EMSCRIPTEN_KEEPALIVE double vk_probe(int what) {
    if (game == nullptr || (!game->Demo && !game->Application.HasMainForm())) {
        return -1;
    }
    const TGame& world =
        game->Demo ? game->Demo->Player().Form().World : static_cast<TForm1&>(game->Application.MainForm()).World;
    if (world.ShipSprite == nullptr || world.TitleSprite == nullptr) {
        return -1;
    }
    switch (what) {
    case 5:
        return game->Session ? game->Session->RecordsRows() : -1;
    case 6:
        return game->Session && game->Session->Watching() ? 1 : 0;
    case 0:
        return world.GameState;
    case 1:
        return world.ShipSprite->X;
    case 2:
        return world.ShipSprite->Y;
    case 3:
        return world.Heading;
    case 4:
        return world.TitleSprite->Y >= 0 ? 1 : 0;
    default:
        return -1;
    }
}

// The game recorded so far, left in Module.vkSessionDemo as bytes; false when there is none.
extern "C" EMSCRIPTEN_KEEPALIVE int vk_session_demo() {
    if (game == nullptr || game->Demo || !game->Session) {
        return 0;
    }
    const std::string demo = game->Session->Demo();
    vk_hand_session(demo.data(), static_cast<int>(demo.size()));
    return demo.empty() ? 0 : 1;
}

int main() {
    // The game lives as long as the page: main returns while the frame loop goes on.
    EM_ASM({ Module.vkMainMs = performance.now(); });
    UsePageLanguage();
    game = std::make_unique<Game>();
    game->Application.SetTitle("Vorkalith");
    if (PageDemo::Asked()) {
        // A demo that is not to be played leaves the page with its reason in the error box, and
        // no frames run.
        game->Demo = PageDemo::Open(game->Platform);
        if (!game->Demo) {
            return 0;
        }
    } else if (TForm1* form = CreateMainForm(game->Application)) {
        if (game->Session) {
            game->Session->Attach(game->Application, *form);
        }
    } else {
        return 1;
    }
    EM_ASM({ Module.vkFormMs = performance.now(); });
    // The first frame runs at once, as the desktop loop's does, instead of a refresh later.
    if (Frame(emscripten_get_now(), nullptr)) {
        emscripten_request_animation_frame_loop(Frame, nullptr);
    }
    return 0;
}
