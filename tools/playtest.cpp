// vk_playtest: plays every level with the real game on the headless platform and reports what a
// simple bot met on each: orbs eaten, mine hits, energy and score at the end.
//
//   vk_playtest [--dir DIR] [--frames N] [--levels FIRST[-LAST]] [--shots DIR]
//
// DIR holds the compiled levels 1.vrk .. 24.vrk (default: the working directory); N play frames
// per level (default 1200); --shots writes the last screen of each level as DIR/level-NN.png.
// Each level is played from a fresh start of the game: a new game from the menu, then the level
// put in place the way a level change does. Exit status 1 when a level is unfair (a mine hit
// within the first 180 frames of the ship's fade-in, or a ship that cannot move from its start),
// when the level checker's mine model leaves the game's mines, or on an error; 2 on bad usage.
#include "display/DXDraw.h"
#include "game/Game.h"
#include "game/LevelLoader.h"
#include "game/MainForm.h"
#include "game/WorldBuilder.h"
#include "level/LevelFiles.h"
#include "level/MinePatrol.h"
#include "platform/app/Application.h"
#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/png/PngWriter.h"
#include "sprite/BackgroundSprite.h"
#include "sprite/ImageSprite.h"
#include "tools/ToolLanguage.h"
#include "tools/demobot/CellBot.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Frames after the start of the ship's fade-in in which no mine may hit it.
constexpr int kSafeFrames = 180;

struct Options {
    std::filesystem::path Dir = ".";
    int Frames = 1200;
    int First = 1;
    int Last = 24;
    std::filesystem::path Shots;
};

struct Result {
    int Level = 0;
    int Frames = 0;   // play frames run
    int Orbs = 0;     // orbs eaten
    int Hits = 0;     // frames in which a mine hit the ship
    int FirstHit = 0; // play frame of the first hit, 0 for none
    int Solid = 0;    // play frame at which the fade-in ended, 0 if it did not
    int32_t Energy = 0;
    int32_t Score = 0;
    bool Moved = false;
    int ModelDiverged = 0; // play frame at which the checker's mine model left the game's mines, 0 if never
    std::string Ended;     // why play stopped before its frames ran out
    std::string Error;

    bool EarlyHit() const { return FirstHit > 0 && FirstHit <= kSafeFrames; }
    bool Failed() const { return !Error.empty() || EarlyHit() || !Moved || ModelDiverged > 0; }
};

// Puts level n in place as a level change does once the new field has arrived.
void PutLevelInPlace(TGame& game, int n) {
    game.Level = static_cast<uint8_t>(n);
    LoadLevel(game, LevelFileName(n));
    ApplyTileSet(game);
    game.Speed = 1.0;
    game.Fade = 255.0;
    game.ShipSprite->Alpha = 0;
    game.BackdropSprite->X = 0;
    PlaceFieldOrbs(game);
    game.Energy = 50;
    for (auto& entry : game.Path) {
        entry.x = -2000;
    }
    game.GameState = 1;
}

// The first play frame at which a mine of the model stands elsewhere than the game's mine of the
// same slot; 0 while they agree.
int CompareMines(const TGame& game, const levels::MinePatrol& model, int frame) {
    const auto& mines = model.Mines();
    for (std::size_t k = 0; k < mines.size(); ++k) {
        const TImageSprite& mine = *game.Mines[k + 1];
        if (game.MineMode[k + 1] == 0 || mine.X != mines[k].X || mine.Y != mines[k].Y) {
            return frame;
        }
    }
    return 0;
}

Result PlayLevel(int n, const Options& options) {
    Result result;
    result.Level = n;
    const std::string file = LevelFileName(n);
    if (!std::filesystem::exists(file)) {
        result.Error = Fill(Tr("{} not found"), {file});
        return result;
    }
    levels::MinePatrol model(levels::LoadLevelFile(file));

    platform::HeadlessPlatform platform;
    platform.EchoErrors = false;
    // Slow-flip mode leaves presenting to the form's timer, which saves the headless screen's
    // conversion of every frame; the rules do not depend on it.
    TApplication app(platform, {"-sf"});
    app.SetTitle("Vorkalith");
    TForm1& form = static_cast<TForm1&>(app.AddForm(std::make_unique<TForm1>(app)));
    TGame& game = form.World;
    auto frame = [&] {
        app.Step();
        app.Idle();
    };
    auto mouse = [&](platform::Event::Type kind) {
        platform.PushEvent(platform::Event{kind, 300, 230, 1});
        app.Step();
    };
    app.Step();
    mouse(platform::Event::Type::MouseMove);
    mouse(platform::Event::Type::MouseDown);
    frame();
    mouse(platform::Event::Type::MouseUp);
    if (!platform.Errors.empty() || game.GameState != 1) {
        result.Error =
            platform.Errors.empty() ? std::string(Tr("the menu did not start a game")) : platform.Errors.front();
        return result;
    }
    try {
        PutLevelInPlace(game, n);
    } catch (const std::exception& e) {
        result.Error = e.what();
        return result;
    }

    const double startX = game.ShipSprite->X;
    const double startY = game.ShipSprite->Y;
    const CellBot bot(game, CellBot::Target::Orbs);
    for (int f = 1; f <= options.Frames; ++f) {
        platform.Keys = {};
        if (const int key = bot.Key()) {
            platform.PressKey(key);
        }
        const double fade = game.Fade;
        frame();
        result.Frames = f;
        if (!platform.Errors.empty()) {
            result.Error = platform.Errors.front();
            break;
        }
        result.Moved = result.Moved || game.ShipSprite->X != startX || game.ShipSprite->Y != startY;
        if (result.Solid == 0 && game.Fade == 0.0) {
            result.Solid = f;
        }
        // Until the first hit turns a mine, the mines run as the model has them.
        if (result.FirstHit == 0 && result.ModelDiverged == 0) {
            model.Step();
            result.ModelDiverged = CompareMines(game, model, f);
        }
        if (fade < 50.0 && game.Fade == 50.0) {
            ++result.Hits;
            result.FirstHit = result.FirstHit == 0 ? f : result.FirstHit;
        }
        if (game.GameState != 1) {
            result.Ended = Tr(game.GameState == 2   ? N_("level done")
                              : game.GameState == 0 ? N_("game over")
                                                    : N_("left play"));
            break;
        }
    }
    result.Orbs = game.OrbsEaten;
    result.Energy = game.Energy;
    result.Score = game.Score;
    if (!options.Shots.empty()) {
        form.DXDraw->Flip();
        char name[32];
        std::snprintf(name, sizeof name, "level-%02d.png", n);
        if (!WritePng((options.Shots / name).string(), platform.ScreenImage())) {
            result.Error = Fill(Tr("{}: cannot write"), {platform::EscapeControls((options.Shots / name).string())});
        }
    }
    return result;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (i + 1 >= argc) {
                return false;
            }
            const std::string value = argv[++i];
            if (arg == "--dir") {
                options.Dir = value;
            } else if (arg == "--frames") {
                options.Frames = std::stoi(value);
            } else if (arg == "--shots") {
                options.Shots = std::filesystem::absolute(value);
            } else if (arg == "--levels") {
                const std::size_t dash = value.find('-');
                options.First = std::stoi(value.substr(0, dash));
                options.Last = dash == std::string::npos ? options.First : std::stoi(value.substr(dash + 1));
            } else {
                return false;
            }
        }
    } catch (const std::exception&) {
        return false;
    }
    return options.Frames > 0 && options.First >= 1 && options.First <= options.Last && options.Last <= 24;
}

void PrintRow(const Result& r) {
    const std::string firstHit = r.FirstHit > 0 ? std::to_string(r.FirstHit) : "-";
    const std::string model = r.ModelDiverged > 0 ? "off@" + std::to_string(r.ModelDiverged) : "same";
    // The verdict's first word is a code to look for (ok, UNFAIR, ERROR, MODEL); its reason follows.
    std::string verdict = r.Failed() ? "UNFAIR" : "ok";
    if (!r.Error.empty()) {
        verdict = "ERROR " + r.Error;
    } else if (!r.Moved) {
        verdict += " (" + std::string(Tr("ship cannot move")) + ")";
    } else if (r.EarlyHit()) {
        verdict += " (" + Fill(Tr("hit within {} frames"), {std::to_string(kSafeFrames)}) + ")";
    } else if (r.ModelDiverged > 0) {
        verdict = "MODEL (" + std::string(Tr("the checker's mines differ")) + ")";
    }
    if (!r.Ended.empty()) {
        verdict += ", " + r.Ended;
    }
    std::printf("%5d %6d %4d %4d %9s %6d %6d %6d %5s %8s  %s\n", r.Level, r.Frames, r.Orbs, r.Hits, firstHit.c_str(),
                r.Solid, r.Energy, r.Score, r.Moved ? "yes" : "no", model.c_str(), verdict.c_str());
}

} // namespace

int main(int argc, char** argv) {
    UseToolLanguage();
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::cerr << Tr("usage: vk_playtest [--dir DIR] [--frames N] [--levels FIRST[-LAST]] [--shots DIR]\n");
        return 2;
    }
    try {
        if (!options.Shots.empty()) {
            std::filesystem::create_directories(options.Shots);
        }
        std::filesystem::current_path(options.Dir);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    // The heads of the columns are their names, as the rows' words are, in any language.
    std::printf("level frames orbs hits first-hit  solid energy  score moved  mines    verdict\n");
    int failed = 0;
    for (int n = options.First; n <= options.Last; ++n) {
        const Result result = PlayLevel(n, options);
        PrintRow(result);
        failed += result.Failed() ? 1 : 0;
    }
    const int levels = options.Last - options.First + 1;
    std::cout << Fill(Tr("{} of {} levels passed"), {std::to_string(levels - failed), std::to_string(levels)}) << '\n';
    return failed == 0 ? 0 : 1;
}
