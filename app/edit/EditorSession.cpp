#include "app/edit/EditorSession.h"

#include "app/edit/ShownText.h"
#include "app/edit/Texts.h"
#include "demo/ForwardingPlatform.h"
#include "display/DXDraw.h"
#include "display/DXTimer.h"
#include "game/LevelLoader.h"
#include "game/MainForm.h"
#include "platform/app/Application.h"
#include "platform/base/Translate.h"
#include "platform/files/AtomicFile.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

// The window as the editor's application sees it: a request to close it goes to the editor,
// which asks about unsaved changes, instead of ending the application at once.
class EditorWindow : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;

    bool PollEvent(platform::Event& event) override {
        while (inner_.PollEvent(event)) {
            if (event.Kind != platform::Event::Type::Quit) {
                return true;
            }
            closeAsked_ = true;
        }
        return false;
    }
    bool TakeCloseRequest() {
        const bool asked = closeAsked_;
        closeAsked_ = false;
        return asked;
    }

private:
    bool closeAsked_ = false;
};

EditorSession::EditorSession(platform::Platform& platform, OpenedLevel opened, const Options& options)
    : platform_(platform), options_(options) {
    window_ = std::make_unique<EditorWindow>(platform);
    application_ = std::make_unique<TApplication>(*window_);
    application_->SetTitle(Tr(texts::kTitle));
    form_ = CreateMainForm(*application_);
    if (!form_) {
        throw std::runtime_error("the game's main form cannot be made");
    }
    // The game's form with the editor's handlers in place of the game's: no world is built, the
    // frame timer draws the editor, and the display control's mouse events paint.
    form_->OnActivate = nullptr;
    form_->DXTimer->OnTimer = [this](TComponent*, int32_t) { EditorFrame(); };
    const auto keys = [this] {
        platform::KeyState state{};
        window_->GetKeyState(state);
        return state;
    };
    form_->DXDraw->OnMouseDown = [this, keys](TComponent*, TMouseButton button, int x, int y) {
        editor_->MouseDown(button, x, y, keys());
    };
    form_->DXDraw->OnMouseMove = [this](TComponent*, int x, int y) { editor_->MouseMove(x, y); };
    form_->DXDraw->OnMouseUp = [this](TComponent*, TMouseButton button, int, int) { editor_->MouseUp(button); };
    editor_ = std::make_unique<Editor>(*form_, std::move(opened),
                                       Editor::Settings{options_.StateFolder, options_.WorkingFolder});
}

EditorSession::~EditorSession() {
    playTest_.reset();
    application_.reset();
}

std::string EditorSession::PlayTestFolder() const {
    if (!options_.StateFolder.empty()) {
        return options_.StateFolder + "/playtest";
    }
    return (std::filesystem::temp_directory_path() / ("vorkalith-playtest-" + std::to_string(::getpid()))).string();
}

void EditorSession::EditorFrame() {
    platform::KeyState keys{};
    window_->GetKeyState(keys);
    editor_->Frame(keys);
}

bool EditorSession::Pass() {
    if (playTest_) {
        const PlayTest::State state = playTest_->Pass();
        if (state != PlayTest::State::Playing) {
            FinishPlayTest(state);
        }
        return !editor_->Ended();
    }
    application_->Step();
    if (window_->TakeCloseRequest()) {
        editor_->Close();
    }
    application_->Idle();
    if (editor_->TakePlayTestRequest()) {
        StartPlayTest();
    }
    return !editor_->Ended() && !application_->Terminated();
}

void EditorSession::StartPlayTest() {
    // The folder holds the level being edited under its number and nothing else, so that a
    // recording plays back from it exactly.
    const std::string folder = PlayTestFolder();
    const int number = editor_->Document().Number();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.path().extension() == ".vrk") {
            std::filesystem::remove(entry.path(), ec);
        }
    }
    const std::vector<uint8_t> bytes = editor_->Document().Cells().ToBytes();
    if (const std::string error =
            platform::WriteFileAtomically(folder + "/" + LevelFileName(number),
                                          std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        !error.empty()) {
        editor_->Notice(Fill(Tr(texts::edit::kPlayTestFailed), {ForScreen(error)}), true);
        return;
    }
    try {
        playTest_ = std::make_unique<PlayTest>(platform_, PlayTest::Start{number, folder, options_.RecordFile});
    } catch (const std::exception& e) {
        editor_->Notice(Fill(Tr(texts::edit::kPlayTestFailed), {ForScreen(e.what())}), true);
    }
}

void EditorSession::FinishPlayTest(PlayTest::State state) {
    const bool recorded = playTest_->FinishRecording();
    playTest_.reset();
    application_->SetTitle(Tr(texts::kTitle));
    platform::KeyState keys{};
    window_->GetKeyState(keys);
    editor_->Resume(keys);
    if (!options_.RecordFile.empty()) {
        editor_->Notice(Fill(recorded ? Tr(texts::edit::kRecorded) : Tr(texts::edit::kRecordFailed),
                             {ForScreen(options_.RecordFile)}),
                        !recorded);
    } else {
        editor_->Notice(state == PlayTest::State::LevelDone ? Tr(texts::edit::kLevelDone)
                                                            : Tr(texts::edit::kPlayTestOver));
    }
    if (state == PlayTest::State::WindowClosed) {
        editor_->Close();
    }
}
