#include "EditorFixture.h"

#include "app/edit/EditCommandLine.h"
#include "level/LevelFiles.h"
#include "support/FileText.h"

#include <filesystem>
#include <sstream>

using namespace levels;
namespace fs = std::filesystem;

namespace {

using EditorFilesTest = EditorFixture;

std::string AssetSource(int n) {
    return std::string(VK_ASSETS_DIR) + "/levels/" + (n < 10 ? "0" : "") + std::to_string(n) + ".txt";
}
std::string CompiledLevel(int n) {
    return std::string(VK_COMPILED_LEVELS_DIR) + "/" + std::to_string(n) + ".vrk";
}

TEST_F(EditorFilesTest, EveryShippedLevelOpensAndSavesBackByteIdenticalFromEitherForm) {
    fs::create_directories(folder.Path() / "files");
    for (int n = 1; n <= 24; ++n) {
        const std::string source = (folder.Path() / fs::path(AssetSource(n)).filename()).string();
        fs::copy_file(AssetSource(n), source);
        OpenedLevel opened = OpenLevel(source);
        EXPECT_TRUE(opened.Notes.empty() && !opened.Document.Modified()) << n;
        EXPECT_EQ(opened.Document.Number(), n);
        std::string error;
        ASSERT_TRUE(SaveLevel(opened.Document, PathsFor(source), error)) << error;
        EXPECT_EQ(ReadAll(source), ReadAll(AssetSource(n))) << n;
        EXPECT_EQ(ReadAll(PathsFor(source).File), ReadAll(CompiledLevel(n))) << n;

        const std::string file = (folder.Path() / "files" / (std::to_string(n) + ".vrk")).string();
        fs::copy_file(CompiledLevel(n), file);
        opened = OpenLevel(file);
        ASSERT_TRUE(SaveLevel(opened.Document, PathsFor(file), error)) << error;
        EXPECT_EQ(ReadAll(file), ReadAll(CompiledLevel(n))) << n;
        EXPECT_EQ(ReadAll(PathsFor(file).Source), ReadAll(AssetSource(n))) << n;
    }
}

TEST_F(EditorFilesTest, SaveWritesTheSourceAndTheLevelFileBesideIt) {
    const std::string source = (folder.Path() / "07.txt").string();
    fs::copy_file(AssetSource(7), source);
    Open(OpenLevel(source));
    Click({0, 14});
    ASSERT_TRUE(E().Document().Modified());
    Press(key::S, {key::ControlLeft});
    EXPECT_FALSE(E().Document().Modified());
    const Level saved = LoadLevelFile(source);
    EXPECT_EQ(saved.At(0, 14), Wall);
    EXPECT_EQ(LoadLevelFile((folder.Path() / "07.vrk").string()), saved);
}

TEST_F(EditorFilesTest, AFailingLevelIsSavedOnlyAfterConfirmationAndCarriesTheMark) {
    const std::string source = (folder.Path() / "07.txt").string();
    fs::copy_file(AssetSource(7), source);
    Open(OpenLevel(source));
    Click({10, 7}, 3); // no ship
    Press(key::S, {key::ControlLeft});
    ASSERT_EQ(E().CurrentScreen(), Editor::Screen::AskFailsCheck);
    Press(key::Esc);
    EXPECT_EQ(E().CurrentScreen(), Editor::Screen::Edit);
    EXPECT_EQ(ReadAll(source), ReadAll(AssetSource(7)));
    EXPECT_FALSE(E().Ended());

    Press(key::S, {key::ControlLeft});
    Press(key::Enter);
    std::vector<std::string> comments;
    const std::string text = ReadAll(source);
    Level::FromText(text, &comments);
    ASSERT_EQ(comments.size(), 1u);
    EXPECT_TRUE(comments[0].starts_with(kFailsCheckMark)) << comments[0];

    Press(key::Z, {key::ControlLeft});
    Press(key::S, {key::ControlLeft});
    EXPECT_EQ(ReadAll(source), ReadAll(AssetSource(7))) << "the mark goes once the level is sound again";
}

TEST_F(EditorFilesTest, AShortLevelFileOpensAsFarAsItCanBeReadAndCountsAsChanged) {
    const std::string file = (folder.Path() / "3.vrk").string();
    folder.Write("3.vrk", ReadAll(CompiledLevel(3)).substr(0, 200));
    Open(OpenLevel(file));
    EXPECT_TRUE(E().Document().Modified());
    EXPECT_EQ(E().Document().Number(), 3);
    const Level whole = LoadLevelFile(CompiledLevel(3));
    EXPECT_EQ(At(12, 7), whole.At(12, 7)); // byte 199
    EXPECT_EQ(At(12, 8), Floor);
    EXPECT_NE(E().Reason().first.find("200 байт"), std::string::npos) << E().Reason().first;
    EXPECT_THROW(OpenLevel((folder.Path() / "missing.vrk").string()), LevelError);
}

TEST_F(EditorFilesTest, SaveAsIntoAFolderWithALevelNumberMakesALevelOfAPack) {
    OpenCells(LevelDocument::NewCells());
    Click({4, 4});
    Press(key::S, {key::ControlLeft});
    ASSERT_EQ(E().CurrentScreen(), Editor::Screen::SaveAs);
    for (int i = 0; i < 40; ++i) {
        Press(key::Backspace);
    }
    for (int code : {key::P, 30 /* a */, 46 /* c */, 37 /* k */}) {
        Press(code);
    }
    Press(key::Tab);
    Press(key::Tab);
    Press(key::Enter);
    EXPECT_EQ(E().CurrentScreen(), Editor::Screen::Edit);
    EXPECT_EQ(LoadLevelFile((folder.Path() / "pack/3.vrk").string()).At(4, 4), Wall);
    EXPECT_EQ(LoadLevelFile((folder.Path() / "pack/3.txt").string()), Cells());
    EXPECT_EQ(E().Document().Path(), "pack/3.txt");
    EXPECT_EQ(E().Document().Number(), 3);
    EXPECT_FALSE(E().Document().Modified());
}

TEST_F(EditorFilesTest, QuittingWithChangesAsksAndTheAutosaveCopyStaysUntilASave) {
    const std::string source = (folder.Path() / "07.txt").string();
    fs::copy_file(AssetSource(7), source);
    Open(OpenLevel(source));
    Click({0, 14});
    Frames(40);
    const std::string copy = E().AutosavePath();
    ASSERT_TRUE(fs::exists(copy)) << copy;
    EXPECT_EQ(LoadLevelFile(copy).At(0, 14), Wall);

    Press(key::Esc);
    EXPECT_EQ(E().CurrentScreen(), Editor::Screen::AskUnsaved);
    Press(key::Esc);
    EXPECT_FALSE(E().Ended());
    platform.PushEvent(platform::Event{platform::Event::Type::Quit});
    Frames(1);
    EXPECT_EQ(E().CurrentScreen(), Editor::Screen::AskUnsaved);
    Press(key::N);
    EXPECT_TRUE(E().Ended());
    EXPECT_EQ(ReadAll(source), ReadAll(AssetSource(7)));
    EXPECT_TRUE(fs::exists(copy));

    // The next session on the file offers the copy back; once saved, the copy goes.
    Open(OpenLevel(source));
    ASSERT_EQ(E().CurrentScreen(), Editor::Screen::AskRestore);
    Press(key::Enter);
    EXPECT_EQ(At(0, 14), Wall);
    EXPECT_TRUE(E().Document().Modified());
    Press(key::Esc);
    Press(key::Enter); // save and quit
    EXPECT_TRUE(E().Ended());
    EXPECT_EQ(LoadLevelFile(source).At(0, 14), Wall);
    EXPECT_FALSE(fs::exists(copy));
}

TEST_F(EditorFilesTest, ConvertWritesWhatTheLevelCompilerWritesAndRefusesAFailingLevelUnlessForced) {
    std::ostringstream err;
    const std::string out = (folder.Path() / "7.vrk").string();
    EXPECT_EQ(ConvertLevel(AssetSource(7), out, false, err), 0) << err.str();
    EXPECT_EQ(ReadAll(out), ReadAll(CompiledLevel(7)));
    EXPECT_EQ(ConvertLevel(CompiledLevel(12), (folder.Path() / "12.txt").string(), false, err), 0);
    EXPECT_EQ(ReadAll(folder.Path() / "12.txt"), ReadAll(AssetSource(12)));

    Level noShip;
    folder.Write("bad.txt", noShip.ToText());
    EXPECT_EQ(ConvertLevel("bad.txt", "bad.vrk", false, err), 1);
    EXPECT_FALSE(fs::exists(folder.Path() / "bad.vrk"));
    EXPECT_NE(err.str().find("bad.txt: 0 ship cells instead of one"), std::string::npos) << err.str();
    EXPECT_EQ(ConvertLevel("bad.txt", "marked.txt", true, err), 0);
    EXPECT_TRUE(ReadAll(folder.Path() / "marked.txt").starts_with(kFailsCheckMark));

    folder.Write("short.vrk", std::string(10, '\0'));
    err.str("");
    EXPECT_EQ(ConvertLevel("short.vrk", "x.txt", false, err), 1);
    EXPECT_EQ(err.str(), "vorkalith-edit: short.vrk: 10 bytes instead of 352\n");
}

} // namespace

namespace {

// The field is all the editor shows; what a hand-made file holds outside it (which the game would
// still place) is cleared as a first step that can be undone.
TEST(OpenedFrom, CellsOutsideTheFieldAreClearedAsAStepThatCanBeUndone) {
    Level level = LevelDocument::NewCells();
    level.Set(21, 3, Wall);
    level.Set(4, 15, MineLeft);
    OpenedLevel opened = OpenedFrom(ReadLevel{level, {}, {}}, "x.txt", 5);
    EXPECT_TRUE(opened.OutsideCleared);
    EXPECT_EQ(opened.Document.At(21, 3), Floor);
    EXPECT_EQ(opened.Document.At(4, 15), Floor);
    EXPECT_TRUE(opened.Document.Modified());
    EXPECT_TRUE(opened.Document.Undo());
    EXPECT_EQ(opened.Document.Cells(), level);
}

} // namespace
