#pragma once

#include "app/edit/Autosave.h"
#include "app/edit/DocumentFiles.h"
#include "app/edit/EditorView.h"
#include "app/edit/KeyEdges.h"
#include "app/edit/LevelMarks.h"
#include "app/edit/TextEntry.h"
#include "platform/app/Control.h"

#include <memory>
#include <optional>
#include <string>

class TForm1;

// The level editor's screens and actions: painting with the mouse or the keyboard, undo and redo,
// the live check, the level number, saving, the questions before a loss, and the requests for a
// play-test and for the end that its session carries out. Each frame reads the keys, keeps the
// autosave copy and draws the screen through the view.
class Editor {
public:
    enum class Screen { Edit, Help, SaveAs, AskUnsaved, AskFailsCheck, AskRestore };

    struct Settings {
        std::string StateFolder;   // the autosave copy lives here; empty: no autosave
        std::string WorkingFolder; // where Save As proposes to save a new level
    };

    Editor(TForm1& form, OpenedLevel opened, const Settings& settings);

    void MouseDown(TMouseButton button, int x, int y, const platform::KeyState& keys);
    void MouseMove(int x, int y);
    void MouseUp(TMouseButton button);
    // One frame with this frame's keys.
    void Frame(const platform::KeyState& keys);
    // Back from a play-test: the keys held now count as old.
    void Resume(const platform::KeyState& keys);
    // The window is being closed: the editor ends, after asking when changes are unsaved.
    void Close();
    // Writes the autosave copy now if there are unsaved changes (before an end by a signal).
    void KeepCopyNow();
    // A line under the status line for a few seconds (or `frames`).
    void Notice(std::string text, bool warning = false, int frames = 5 * 60);

    // A play-test was asked for since the last call.
    bool TakePlayTestRequest();
    bool Ended() const { return ended_; }

    const LevelDocument& Document() const { return document_; }
    const LevelMarks& Marks();
    Screen CurrentScreen() const { return screen_; }
    int SelectedKind() const { return kind_; }
    Cell CursorCell() const { return cursor_; }
    const std::string& AutosavePath() const { return autosave_->Path(); }
    // The second status line and whether it warns: the broken rule of the marked cell under the
    // pointer (or the cursor), a notice, what is wrong with the whole level, or a hint.
    std::pair<std::string, bool> Reason();

private:
    enum class Shape { Freehand, Line, Frame, Box };

    void EditKeys();
    void DialogKeys();
    void MoveCursor(int dx, int dy);
    void Save(bool confirmed);
    // By value: the paths may be the pending ones, which the save clears.
    void SaveTo(LevelPaths paths, int number, bool confirmed);
    void OpenSaveAs();
    void RequestQuit();
    void KeepAutosave();
    void Draw();
    std::string StatusLine();
    std::vector<std::string> PanelLines();

    EditorView view_;
    LevelDocument document_;
    std::unique_ptr<Autosave> autosave_;
    Settings settings_;
    KeyEdges keys_;
    TextEntry folder_;
    Screen screen_ = Screen::Edit;
    std::optional<levels::ReadLevel> restorable_;

    std::unique_ptr<LevelMarks> marks_;
    uint64_t marksVersion_ = 0;
    uint64_t autosavedVersion_ = 0;
    bool autosaveDue_ = false;
    int framesSinceAutosave_ = 0;

    int kind_ = levels::Wall;
    Cell cursor_{levels::kFieldColumns / 2, levels::kFieldRows / 2};
    int pointerX_ = -100, pointerY_ = -100;
    bool keyboardLast_ = false;
    bool allTracks_ = false;
    int saveNumber_ = 1;
    std::optional<LevelPaths> pendingSave_;
    int pendingNumber_ = 0;
    bool quitAfterSave_ = false;

    // The stroke of the mouse or the keyboard in progress.
    bool dragging_ = false;
    TMouseButton dragButton_ = TMouseButton::mbLeft;
    Shape shape_ = Shape::Freehand;
    uint8_t strokeKind_ = 0;
    Cell anchor_{0, 0};
    Cell last_{0, 0};
    bool spaceStroke_ = false;

    std::string notice_;
    bool noticeWarns_ = false;
    int noticeFrames_ = 0;
    bool playTestRequested_ = false;
    bool ended_ = false;
};
