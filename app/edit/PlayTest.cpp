#include "app/edit/PlayTest.h"

#include "demo/DemoWriter.h"
#include "demo/ForwardingPlatform.h"
#include "demo/FrameLoop.h"
#include "demo/RecordingPlatform.h"
#include "game/LevelFolder.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"

#include <stdexcept>

// The editor's window lent to the game: the game's form, when it goes, leaves the window to the
// editor instead of hiding it; and the game, which starts in a window already in front, is told
// so with the focus event a new window gets.
class PlayTestWindow : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;

    void HideWindow() override {}
    bool PollEvent(platform::Event& event) override {
        if (!focusTold_) {
            focusTold_ = true;
            if (inner_.IsForeground()) {
                event = platform::Event{platform::Event::Type::FocusGained};
                return true;
            }
        }
        return inner_.PollEvent(event);
    }

private:
    bool focusTold_ = false;
};

PlayTest::PlayTest(platform::Platform& window, const Start& start)
    : start_(start), previousFolder_(LevelFolder::Current()) {
    window_ = std::make_unique<PlayTestWindow>(window);
    platform::Platform* top = window_.get();
    const std::vector<std::string> arguments = Arguments(start.Level);
    if (!start.RecordFile.empty()) {
        writer_ = std::make_unique<DemoWriter>(start.RecordFile);
        recorder_ = std::make_unique<RecordingPlatform>(*window_, *writer_, arguments);
        top = recorder_.get();
    }
    LevelFolder::Use(start.LevelFolder);
    application_ = std::make_unique<TApplication>(*top, arguments);
    application_->SetTitle("Vorkalith");
    form_ = CreateMainForm(*application_);
    if (!form_) {
        application_.reset();
        LevelFolder::Use(previousFolder_);
        throw std::runtime_error("the game's main form cannot be made");
    }
    loop_ = std::make_unique<FrameLoop>(*application_);
}

PlayTest::~PlayTest() {
    // The game goes first: its form still calls the platforms while it is destroyed.
    loop_.reset();
    application_.reset();
    recorder_.reset();
    if (writer_) {
        writer_->Close();
    }
    LevelFolder::Use(previousFolder_);
}

std::vector<std::string> PlayTest::Arguments(int level) {
    return {"--level", std::to_string(level)};
}

PlayTest::State PlayTest::Pass() {
    if (recorder_) {
        recorder_->BeginFrame();
    }
    const bool more = loop_->Pass();
    if (recorder_) {
        recorder_->EndFrame();
    }
    if (!more) {
        return State::WindowClosed;
    }
    const TGame& game = form_->World;
    if (game.GameState == 0) {
        return State::Left;
    }
    if ((game.GameState == 1 && game.Level != start_.Level) || game.GameState == 5) {
        return State::LevelDone;
    }
    return State::Playing;
}

uint64_t PlayTest::Frames() const {
    return loop_ ? loop_->Frames() : 0;
}

bool PlayTest::FinishRecording() {
    if (!writer_) {
        return true;
    }
    loop_.reset();
    application_.reset();
    recorder_.reset();
    const bool written = writer_->Close();
    writer_.reset();
    return written;
}
