#include "app/edit/Editor.h"

#include "app/edit/ShownText.h"
#include "app/edit/Texts.h"
#include "platform/base/Translate.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

using namespace levels;

namespace {

// What was wrong with the file opened stays longer than other notices.
constexpr int kOpeningNoticeFrames = 20 * 60;
// Frames between two writes of the autosave copy while the document keeps changing.
constexpr int kAutosaveEvery = 30;

std::string Number(int n) {
    return std::to_string(n);
}

std::string NoteText(const ReadNote& note) {
    using Kind = ReadNote::Kind;
    switch (note.What) {
    case Kind::ShortFile:
        return Fill(Tr(texts::notes::kShortFile), {Number(note.Count)});
    case Kind::LongFile:
        return Fill(Tr(texts::notes::kLongFile), {Number(note.Count)});
    case Kind::UnknownCode:
        return Fill(Tr(texts::notes::kUnknownCode), {Number(note.Count), Number(note.Column), Number(note.Row)});
    case Kind::ShortLine:
        return Fill(Tr(texts::notes::kShortLine), {Number(note.Count), Number(note.Line)});
    case Kind::LongLine:
        return Fill(Tr(texts::notes::kLongLine), {Number(note.Count), Number(note.Line)});
    case Kind::UnknownSymbol:
        return Fill(Tr(texts::notes::kUnknownSymbol), {Number(note.Count), Number(note.Line), Number(note.Column)});
    case Kind::MissingLines:
        return Fill(Tr(texts::notes::kMissingLines), {Number(note.Count)});
    case Kind::ExtraLines:
        return Fill(Tr(texts::notes::kExtraLines), {Number(note.Count)});
    }
    return {};
}

std::string ReasonFor(const Problem& problem) {
    switch (problem.Broken) {
    case Rule::Reachable:
        return Tr(texts::rules::kUnreachable);
    case Rule::ClearStart:
        return Fill(Tr(texts::rules::kNearStart), {Number(problem.Frame)});
    case Rule::MinesStayInside:
        return Tr(texts::rules::kRunsOff);
    case Rule::MineLimit:
        return Fill(Tr(texts::rules::kTooMany), {Number(problem.Count)});
    case Rule::OneShip:
        return problem.Count == 0 ? std::string(Tr(texts::rules::kNoShip))
                                  : Fill(Tr(texts::rules::kShips), {Number(problem.Count)});
    case Rule::KnownCodes:
        return Tr(texts::rules::kUnknownCode);
    case Rule::FloorOutside:
        return Tr(texts::rules::kOutside);
    }
    return {};
}

bool InField(int x, int y) {
    return x >= 0 && y >= 0 && x < layout::kFieldWidth && y < layout::kFieldHeight;
}

Cell CellAt(int x, int y) {
    return {std::clamp(x / layout::kCell, 0, kFieldColumns - 1), std::clamp(y / layout::kCell, 0, kFieldRows - 1)};
}

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

} // namespace

Editor::Editor(TForm1& form, OpenedLevel opened, const Settings& settings)
    : view_(form), document_(std::move(opened.Document)), settings_(settings) {
    autosave_ = std::make_unique<Autosave>(settings_.StateFolder, document_.Path());
    if (!opened.Notes.empty()) {
        std::string text = NoteText(opened.Notes.front());
        if (opened.Notes.size() > 1) {
            text += " (+" + Number(static_cast<int>(opened.Notes.size()) - 1) + ")";
        }
        Notice(text, true, kOpeningNoticeFrames);
    } else if (opened.OutsideCleared) {
        Notice(Tr(texts::edit::kOutsideCleared), true, kOpeningNoticeFrames);
    }
    autosavedVersion_ = document_.Version();
    autosaveDue_ = document_.Modified();
    if (std::optional<ReadLevel> copy = autosave_->Read();
        copy && (copy->Cells != document_.Cells() || copy->Comments != document_.Comments())) {
        restorable_ = std::move(copy);
        screen_ = Screen::AskRestore;
    }
}

const LevelMarks& Editor::Marks() {
    if (!marks_ || marksVersion_ != document_.Version()) {
        marks_ = std::make_unique<LevelMarks>(document_.Cells());
        marksVersion_ = document_.Version();
    }
    return *marks_;
}

void Editor::Notice(std::string text, bool warning, int frames) {
    notice_ = std::move(text);
    noticeWarns_ = warning;
    noticeFrames_ = frames;
}

bool Editor::TakePlayTestRequest() {
    const bool asked = playTestRequested_;
    playTestRequested_ = false;
    return asked;
}

void Editor::MouseDown(TMouseButton button, int x, int y, const platform::KeyState& keys) {
    // A button let go outside the window never told us; a new press ends that stroke, and one
    // of the keyboard too.
    if (dragging_) {
        MouseUp(dragButton_);
    }
    if (spaceStroke_) {
        spaceStroke_ = false;
        document_.EndStroke();
    }
    MouseMove(x, y);
    if (screen_ == Screen::Help) {
        screen_ = Screen::Edit;
        return;
    }
    if (screen_ != Screen::Edit || button == TMouseButton::mbMiddle) {
        return;
    }
    if (y >= layout::kBarTop && x >= 0 && x < layout::kPaletteWidth) {
        kind_ = x / layout::kCell;
        return;
    }
    if (!InField(x, y)) {
        return;
    }
    const auto held = [&](int a, int b) { return ((keys[a] | keys[b]) & 0x80) != 0; };
    const bool shift = held(key::ShiftLeft, key::ShiftRight);
    const bool control = held(key::ControlLeft, key::ControlRight);
    shape_ = shift ? (control ? Shape::Box : Shape::Frame) : control ? Shape::Line : Shape::Freehand;
    strokeKind_ = button == TMouseButton::mbLeft ? static_cast<uint8_t>(kind_) : uint8_t{Floor};
    dragButton_ = button;
    dragging_ = true;
    anchor_ = last_ = cursor_ = CellAt(x, y);
    document_.BeginStroke();
    if (shape_ == Shape::Freehand) {
        document_.Paint(anchor_.first, anchor_.second, strokeKind_);
    } else {
        MouseMove(x, y);
    }
}

void Editor::MouseMove(int x, int y) {
    pointerX_ = x;
    pointerY_ = y;
    keyboardLast_ = false;
    if (!dragging_) {
        return;
    }
    const Cell cell = CellAt(x, y);
    switch (shape_) {
    case Shape::Freehand:
        for (const auto& [column, row] : LineCells(last_, cell)) {
            document_.Paint(column, row, strokeKind_);
        }
        last_ = cell;
        break;
    case Shape::Line:
        document_.PaintShape(LineCells(anchor_, cell), strokeKind_);
        break;
    case Shape::Frame:
    case Shape::Box:
        document_.PaintShape(RectangleCells(anchor_, cell, shape_ == Shape::Box), strokeKind_);
        break;
    }
}

void Editor::MouseUp(TMouseButton button) {
    if (dragging_ && button == dragButton_) {
        dragging_ = false;
        document_.EndStroke();
    }
}

void Editor::Resume(const platform::KeyState& keys) {
    keys_.Prime(keys);
    spaceStroke_ = false;
}

void Editor::Close() {
    RequestQuit();
}

void Editor::RequestQuit() {
    dragging_ = false;
    spaceStroke_ = false;
    document_.EndStroke();
    if (document_.Modified()) {
        screen_ = Screen::AskUnsaved;
    } else {
        ended_ = true;
    }
}

void Editor::Frame(const platform::KeyState& keys) {
    keys_.Update(keys);
    if (screen_ == Screen::Edit) {
        EditKeys();
    } else {
        DialogKeys();
    }
    KeepAutosave();
    Draw();
    if (noticeFrames_ > 0) {
        --noticeFrames_;
    }
}

void Editor::EditKeys() {
    const KeyEdges& k = keys_;
    if (k.Chord(key::Z) || k.Chord(key::Y) || k.Chord(key::Z, true)) {
        dragging_ = false;
        spaceStroke_ = false;
        const bool undo = k.Chord(key::Z);
        if (!(undo ? document_.Undo() : document_.Redo())) {
            Notice(undo ? Tr(texts::edit::kNothingToUndo) : Tr(texts::edit::kNothingToRedo));
        }
        return;
    }
    if (k.Chord(key::S) || k.Chord(key::S, true)) {
        dragging_ = false;
        document_.EndStroke();
        if (k.Shift()) {
            OpenSaveAs();
        } else {
            Save(false);
        }
        return;
    }
    if (k.Control()) {
        return;
    }
    for (int kind = 0; kind < layout::kKinds; ++kind) {
        if (k.Pressed(key::Digit1 + kind)) {
            kind_ = kind;
        }
    }
    if (k.Pressed(key::Tab)) {
        const int step = k.Shift() ? 23 : 1;
        document_.SetNumber((document_.Number() - 1 + step) % 24 + 1);
    }
    if (k.Pressed(key::P)) {
        allTracks_ = !allTracks_;
    }
    if (k.Pressed(key::F1)) {
        screen_ = Screen::Help;
    }
    if (k.Pressed(key::F5)) {
        dragging_ = false;
        spaceStroke_ = false;
        document_.EndStroke();
        playTestRequested_ = true;
        return;
    }
    if (k.Pressed(key::Esc)) {
        RequestQuit();
        return;
    }
    if (k.Repeated(key::Up)) {
        MoveCursor(0, -1);
    }
    if (k.Repeated(key::Down)) {
        MoveCursor(0, 1);
    }
    if (k.Repeated(key::Left)) {
        MoveCursor(-1, 0);
    }
    if (k.Repeated(key::Right)) {
        MoveCursor(1, 0);
    }
    if (k.Pressed(key::Space) && !dragging_) {
        keyboardLast_ = true;
        spaceStroke_ = true;
        document_.BeginStroke();
        document_.Paint(cursor_.first, cursor_.second, static_cast<uint8_t>(kind_));
    }
    if (k.Released(key::Space) && spaceStroke_) {
        spaceStroke_ = false;
        document_.EndStroke();
    }
    if ((k.Pressed(key::Delete) || k.Pressed(key::Backspace)) && !dragging_ && !spaceStroke_) {
        keyboardLast_ = true;
        document_.Paint(cursor_.first, cursor_.second, Floor);
    }
}

void Editor::MoveCursor(int dx, int dy) {
    keyboardLast_ = true;
    cursor_.first = std::clamp(cursor_.first + dx, 0, kFieldColumns - 1);
    cursor_.second = std::clamp(cursor_.second + dy, 0, kFieldRows - 1);
    if (spaceStroke_) {
        document_.Paint(cursor_.first, cursor_.second, static_cast<uint8_t>(kind_));
    }
}

void Editor::DialogKeys() {
    const KeyEdges& k = keys_;
    switch (screen_) {
    case Screen::Help:
        for (int code = 1; code < 256; ++code) {
            if (k.Pressed(code)) {
                screen_ = Screen::Edit;
            }
        }
        break;
    case Screen::SaveAs:
        if (k.Confirmed()) {
            SaveTo(PackPaths(folder_.Text, saveNumber_), saveNumber_, false);
        } else if (k.Pressed(key::Esc)) {
            screen_ = Screen::Edit;
            quitAfterSave_ = false;
        } else if (k.Pressed(key::Tab)) {
            saveNumber_ = (saveNumber_ - 1 + (k.Shift() ? 23 : 1)) % 24 + 1;
        } else {
            folder_.Type(k);
        }
        break;
    case Screen::AskUnsaved:
        if (k.Confirmed()) {
            screen_ = Screen::Edit;
            quitAfterSave_ = true;
            Save(false);
        } else if (k.Pressed(key::N)) {
            ended_ = true;
        } else if (k.Pressed(key::Esc)) {
            screen_ = Screen::Edit;
        }
        break;
    case Screen::AskFailsCheck:
        if (k.Confirmed() && pendingSave_) {
            screen_ = Screen::Edit;
            SaveTo(*pendingSave_, pendingNumber_, true);
        } else if (k.Pressed(key::Esc)) {
            screen_ = Screen::Edit;
            quitAfterSave_ = false;
        }
        break;
    case Screen::AskRestore:
        if (k.Confirmed() && restorable_) {
            document_.ReplaceAll(restorable_->Cells);
            document_.SetComments(restorable_->Comments);
            Notice(Tr(texts::edit::kRestored));
        }
        if (k.Confirmed() || k.Pressed(key::Esc)) {
            restorable_.reset();
            screen_ = Screen::Edit;
        }
        break;
    case Screen::Edit:
        break;
    }
}

void Editor::Save(bool confirmed) {
    if (document_.Path().empty()) {
        OpenSaveAs();
        return;
    }
    SaveTo(PathsFor(document_.Path()), document_.Number(), confirmed);
}

void Editor::OpenSaveAs() {
    const std::string folder = FolderOf(document_.Path());
    folder_.Text = document_.Path().empty() ? settings_.WorkingFolder : folder.empty() ? "." : folder;
    saveNumber_ = document_.Number();
    screen_ = Screen::SaveAs;
}

void Editor::SaveTo(LevelPaths paths, int number, bool confirmed) {
    if (!Marks().Sound() && !confirmed) {
        pendingSave_ = paths;
        pendingNumber_ = number;
        screen_ = Screen::AskFailsCheck;
        return;
    }
    screen_ = Screen::Edit;
    std::error_code ec;
    if (const std::string folder = FolderOf(paths.Source); !folder.empty()) {
        std::filesystem::create_directories(folder, ec);
    }
    document_.SetComments(MarkedComments(document_.Comments(), Marks().Problems()));
    std::string error;
    if (!SaveLevel(document_, paths, error)) {
        Notice(Fill(Tr(texts::edit::kSaveFailed), {ForScreen(error)}), true);
        quitAfterSave_ = false;
        return;
    }
    autosave_->Remove();
    document_.SetNumber(number);
    // Saved where it came from, the document keeps its name; saved elsewhere, it takes the source's.
    const bool sameFiles = !document_.Path().empty() && PathsFor(document_.Path()) == paths;
    document_.MarkSaved(sameFiles ? document_.Path() : paths.Source);
    pendingSave_.reset();
    autosave_ = std::make_unique<Autosave>(settings_.StateFolder, document_.Path());
    autosavedVersion_ = document_.Version();
    autosaveDue_ = false;
    Notice(Fill(Tr(texts::edit::kSaved), {ForScreen(paths.Source)}));
    if (quitAfterSave_) {
        ended_ = true;
    }
}

void Editor::KeepAutosave() {
    ++framesSinceAutosave_;
    const bool changed = autosaveDue_ || document_.Version() != autosavedVersion_;
    if (screen_ == Screen::AskRestore || !changed || document_.InStroke() || framesSinceAutosave_ < kAutosaveEvery) {
        return;
    }
    autosavedVersion_ = document_.Version();
    autosaveDue_ = false;
    framesSinceAutosave_ = 0;
    if (!document_.Modified()) {
        autosave_->Remove();
        return;
    }
    std::string error;
    if (!autosave_->Write(document_, error)) {
        Notice(Fill(Tr(texts::edit::kAutosaveFailed), {ForScreen(error)}), true);
    }
}

void Editor::KeepCopyNow() {
    std::string error;
    if (document_.Modified()) {
        autosave_->Write(document_, error);
    }
}

void Editor::Draw() {
    view_.Show(document_.Cells(), document_.Number());
    if (!view_.BeginFrame()) {
        return;
    }
    const LevelMarks& marks = Marks();
    view_.Marks(marks, allTracks_);
    view_.MineDirections(document_.Cells());
    if (keyboardLast_) {
        view_.Cursor(cursor_);
    }
    view_.Palette(kind_);
    const auto [reason, warns] = Reason();
    view_.Status(StatusLine(), reason, warns);
    if (screen_ != Screen::Edit) {
        view_.Panel(PanelLines());
    }
    view_.Pointer(pointerX_, pointerY_);
    view_.EndFrame();
}

std::string Editor::StatusLine() {
    const std::string& path = document_.Path();
    std::string name =
        path.empty() ? Tr(texts::edit::kNewLevel) : ForScreen(std::filesystem::path(path).filename().string());
    if (document_.Modified()) {
        name += '*';
    }
    const Cell cell = keyboardLast_ || !InField(pointerX_, pointerY_) ? cursor_ : CellAt(pointerX_, pointerY_);
    const uint8_t code = document_.At(cell.first, cell.second);
    const char* kind = code < layout::kKinds ? Tr(texts::edit::kKinds[code]) : "?";
    return name + "  " + Fill(Tr(texts::edit::kLevel), {Number(document_.Number())}) + "  " +
           Fill(Tr(texts::edit::kCell), {Number(cell.first), Number(cell.second), kind}) + "  " +
           Fill(Tr(texts::edit::kBrush), {Tr(texts::edit::kKinds[kind_])}) + "  " +
           Fill(Tr(texts::edit::kMines), {Number(Marks().MineCount())});
}

std::pair<std::string, bool> Editor::Reason() {
    const LevelMarks& marks = Marks();
    const bool pointerInField = !keyboardLast_ && InField(pointerX_, pointerY_);
    if (pointerInField || keyboardLast_) {
        const Cell cell = pointerInField ? CellAt(pointerX_, pointerY_) : cursor_;
        if (const Problem* p = marks.ProblemAt(cell.first, cell.second)) {
            return {ReasonFor(*p), true};
        }
    }
    if (noticeFrames_ > 0) {
        return {notice_, noticeWarns_};
    }
    if (const Problem* p = marks.LevelProblem()) {
        return {ReasonFor(*p), true};
    }
    if (!marks.Sound()) {
        return {Fill(Tr(texts::edit::kProblems), {Number(static_cast<int>(marks.Problems().size()))}) + " — " +
                    Tr(texts::edit::kProblemsHint),
                true};
    }
    if (allTracks_) {
        return {Tr(texts::edit::kPathsShown), false};
    }
    return {std::string(Tr(texts::edit::kCheckPassed)) + ".   " + Tr(texts::edit::kHint), false};
}

std::vector<std::string> Editor::PanelLines() {
    const std::string n = Number(saveNumber_);
    switch (screen_) {
    case Screen::Help: {
        std::vector<std::string> lines;
        for (const char* line : texts::help::kLines) {
            lines.push_back(Tr(line));
        }
        return lines;
    }
    case Screen::SaveAs:
        return {Tr(texts::saveas::kHeading),
                Fill(Tr(texts::saveas::kFolder), {Tail(ForScreen(folder_.Text), 44) + "_"}),
                Fill(Tr(texts::saveas::kNumber), {n}),
                Fill(Tr(texts::saveas::kFiles), {n, n}),
                Tr(texts::saveas::kPack),
                Tr(texts::saveas::kKeys)};
    case Screen::AskUnsaved:
        return {Tr(texts::ask::kUnsaved), Tr(texts::ask::kUnsavedKeys)};
    case Screen::AskFailsCheck: {
        const auto& problems = Marks().Problems();
        return {Tr(texts::ask::kFailsCheck), problems.empty() ? std::string() : ReasonFor(problems.front()),
                Tr(texts::ask::kFailsCheckKeys)};
    }
    case Screen::AskRestore:
        return {Tr(texts::ask::kAutosave), ForScreen(autosave_->Path()), Tr(texts::ask::kAutosaveKeys)};
    case Screen::Edit:
        break;
    }
    return {};
}
