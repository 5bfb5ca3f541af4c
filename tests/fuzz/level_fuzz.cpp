// Level files: each input becomes 1.vrk in a scratch folder, and a fresh world is built from it
// by the game's own start-up, which reads level 1 through the real loader, and its orbs are
// placed. That is all for an input of at most 352 bytes: the fast path, some hundred times
// cheaper than a frame, so that the loader and the placement see many levels a second. A longer
// input also starts the game from the menu and plays it for a few frames on the headless
// display, steered by the bytes after the first 352 (which the loader ignores): bits 0..3 of each
// hold up, down, left and right for kFramesPerByte frames. The form, its pictures and the display
// are made once. The steered frames step the rules alone, as a verifying replay does, which costs
// a hundredth of a drawn frame; the last few frames are drawn, so that drawing meets every level.
#include "game/Game.h"
#include "game/MainForm.h"
#include "game/WorldBuilder.h"
#include "platform/app/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "sprite/DXSpriteEngine.h"
#include "sprite/SpriteEngine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kLevelBytes = 352;
// Up to 16 steering bytes of 16 rules-only frames each (256 frames), then two drawn frames with
// the keys let go.
constexpr std::size_t kMaxSteeredFrames = 16;
constexpr int kFramesPerByte = 16;
constexpr int kMinFrames = 2;
constexpr int kUp = 200, kDown = 208, kLeft = 203, kRight = 205;

class Session {
public:
    Session() {
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
        platform_.EchoErrors = false;
        app_ = std::make_unique<TApplication>(platform_, std::vector<std::string>{"-sf"});
        form_ = static_cast<TForm1*>(&app_->AddForm(std::make_unique<TForm1>(*app_)));
        app_->Step(); // shows the form: the display and the pictures are made once
    }
    ~Session() {
        app_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void Run(const uint8_t* data, std::size_t size) {
        std::ofstream(kFileName, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        FreshWorld();
        if (size <= kLevelBytes) {
            platform_.Errors.clear();
            return;
        }
        StartGame();
        const std::size_t steered = std::min(size - kLevelBytes, kMaxSteeredFrames);
        form_->RulesOnly = true;
        for (std::size_t i = 0; i < steered; ++i) {
            Steer(data[kLevelBytes + i]);
            for (int k = 0; k < kFramesPerByte; ++k) {
                Frame();
            }
        }
        form_->RulesOnly = false;
        Steer(0);
        for (int i = 0; i < kMinFrames; ++i) {
            Frame();
        }
        platform_.Errors.clear();
    }

private:
    static constexpr const char* kFileName = "1.vrk";

    // Every sprite goes and the world starts from its declared values; building it again makes
    // the scene and loads level 1 as at the program's start. The generator is then seeded with
    // a fixed time and the orbs placed again, so that an input always plays the same way.
    void FreshWorld() {
        form_->DXSpriteEngine->Engine().Clear();
        TGame& world = form_->World;
        std::destroy_at(&world);
        std::construct_at(&world, *form_);
        try {
            BuildWorld(world);
        } catch (const std::exception&) {
            // A short file: the world is complete and the error would be shown in the error box.
        }
        world.RandomGenerator.Seed(platform::TimeOfDay{});
        PlaceFieldOrbs(world);
    }

    void StartGame() {
        using Type = platform::Event::Type;
        Mouse(Type::MouseMove);
        Mouse(Type::MouseDown);
        Frame();
        Mouse(Type::MouseUp);
    }

    void Mouse(platform::Event::Type kind) {
        platform_.PushEvent(platform::Event{kind, 300, 230, 1});
        app_->Step();
    }

    void Steer(uint8_t bits) {
        const int keys[] = {kUp, kDown, kLeft, kRight};
        for (int bit = 0; bit < 4; ++bit) {
            if (bits & (1 << bit)) {
                platform_.PressKey(keys[bit]);
            } else {
                platform_.ReleaseKey(keys[bit]);
            }
        }
    }

    void Frame() {
        app_->Step();
        app_->Idle();
    }

    const std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() / ("vorkalith-level-fuzz-" + std::to_string(::getpid()));
    platform::HeadlessPlatform platform_;
    std::unique_ptr<TApplication> app_;
    TForm1* form_ = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static Session session;
    session.Run(data, size);
    return 0;
}
