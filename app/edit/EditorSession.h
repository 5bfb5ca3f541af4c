#pragma once

#include "app/edit/DocumentFiles.h"
#include "app/edit/Editor.h"
#include "app/edit/PlayTest.h"
#include "platform/app/Platform.h"

#include <memory>
#include <string>

class EditorWindow;
class TApplication;
class TForm1;

// The editor program's run over a platform (the desktop's or the headless one): the editor on the
// game's main form in its own application, and in turn the play-tests, each the game in an
// application of its own in the same window.
class EditorSession {
public:
    struct Options {
        std::string StateFolder;   // autosave copies and the play-test's level folder
        std::string WorkingFolder; // proposed by Save As for a new level
        std::string RecordFile;    // each play-test is recorded here when not empty
    };

    // Throws std::runtime_error when the game's main form cannot be made.
    EditorSession(platform::Platform& platform, OpenedLevel opened, const Options& options);
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // One pass: the window's events and a frame of the editor or of the play-test. False once
    // the editor has ended.
    bool Pass();

    Editor& GetEditor() const { return *editor_; }
    TForm1& Form() const { return *form_; }
    // The play-test in progress, or null.
    PlayTest* CurrentPlayTest() const { return playTest_.get(); }
    // The folder the play-test's level file is written to.
    std::string PlayTestFolder() const;

private:
    void EditorFrame();
    void StartPlayTest();
    void FinishPlayTest(PlayTest::State state);

    platform::Platform& platform_;
    Options options_;
    std::unique_ptr<EditorWindow> window_;
    std::unique_ptr<TApplication> application_;
    TForm1* form_ = nullptr;
    std::unique_ptr<Editor> editor_;
    std::unique_ptr<PlayTest> playTest_;
};
