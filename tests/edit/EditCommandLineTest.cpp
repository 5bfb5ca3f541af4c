#include "app/edit/EditCommandLine.h"
#include "app/edit/Autosave.h"
#include "app/edit/ShownText.h"
#include "app/edit/TextEntry.h"
#include "game/ScratchFolder.h"
#include "level/LevelFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(EditCommandLine, ReadsAFileOrNumberTheOptionsAndConvert) {
    EditCommandLine c;
    std::string error;
    ASSERT_TRUE(c.Parse({"--window", "--record", "a.vkd", "7"}, error)) << error;
    EXPECT_TRUE(c.Window);
    EXPECT_EQ(c.RecordFile, "a.vkd");
    EXPECT_EQ(c.Target, "7");
    ASSERT_TRUE(c.Parse({"--convert", "in.txt", "out.vrk", "--force"}, error)) << error;
    EXPECT_EQ(c.ConvertIn, "in.txt");
    EXPECT_EQ(c.ConvertOut, "out.vrk");
    EXPECT_TRUE(c.Force);
    EXPECT_FALSE(c.Parse({"--convert", "in.txt"}, error));
    EXPECT_FALSE(c.Parse({"a.txt", "b.txt"}, error));
    EXPECT_EQ(error, "unexpected argument 'b.txt'");
    EXPECT_FALSE(c.Parse({"--bogus"}, error));
}

TEST(EditCommandLine, AMissingFileIsANewLevelToBeSavedUnderThatName) {
    ScratchFolder folder;
    OpenedLevel opened = OpenTarget("12.txt", "");
    EXPECT_EQ(opened.Document.Path(), "12.txt");
    EXPECT_EQ(opened.Document.Number(), 12);
    EXPECT_FALSE(opened.Document.Modified());
    // A number that names no file is that level of the set found as the game finds it, as a copy
    // that Save does not write back.
    levels::Level three = LevelDocument::NewCells();
    three.Set(2, 2, levels::Wall);
    const std::vector<uint8_t> bytes = three.ToBytes();
    folder.Write("3.vrk", std::string(bytes.begin(), bytes.end()));
    opened = OpenTarget("3", folder.Path().string());
    EXPECT_EQ(opened.Document.Cells(), three);
    EXPECT_EQ(opened.Document.Number(), 3);
    EXPECT_TRUE(opened.Document.Path().empty());
}

TEST(ShownText, NamesFromOutsideCannotControlTheTerminalOrTheScreen) {
    const std::string text = std::string("a\x1b[2Jb\n") + "\xff" + "\xd1\x83";
    EXPECT_EQ(ForTerminal(text), "a\\x1b[2Jb\\x0a\\xffу");
    EXPECT_EQ(ForScreen(text), "a?[2Jb??у");
    EXPECT_EQ(Fill("уровень {} из {}", {"7", "24"}), "уровень 7 из 24");
    EXPECT_EQ(Fill("{} и {}", {"1"}), "1 и {}");
    EXPECT_EQ(Tail("/папка/7", 3), "…а/7");
    EXPECT_EQ(Tail("abc", 3), "abc");
}

TEST(TextEntry, KeyPositionsGiveTheCharactersOfAPath) {
    EXPECT_EQ(TextEntry::CharacterOf(30, false), 'a');
    EXPECT_EQ(TextEntry::CharacterOf(30, true), 'A');
    EXPECT_EQ(TextEntry::CharacterOf(53, false), '/');
    EXPECT_EQ(TextEntry::CharacterOf(12, true), '_');
    EXPECT_EQ(TextEntry::CharacterOf(52, false), '.');
    EXPECT_EQ(TextEntry::CharacterOf(28, false), 0); // Enter
    EXPECT_EQ(TextEntry::CharacterOf(200, false), 0);
}

TEST(Autosave, LivesInTheStateFolderOfXdgOrItsDefault) {
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string saved = state ? state : "";
    ::setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/home/x", 1);
    const std::string home = std::getenv("HOME");
    ::setenv("XDG_STATE_HOME", "/var/state", 1);
    EXPECT_EQ(Autosave::DefaultStateFolder(), "/var/state/vorkalith");
    ::setenv("XDG_STATE_HOME", "relative", 1);
    EXPECT_EQ(Autosave::DefaultStateFolder(), home + "/.local/state/vorkalith");
    ::unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(Autosave::DefaultStateFolder(), home + "/.local/state/vorkalith");
    if (state) {
        ::setenv("XDG_STATE_HOME", saved.c_str(), 1);
    }
    // Any file name gives a plain name in the state folder.
    EXPECT_EQ(Autosave("/s", "dir/my level\x1b.txt").Path(), "/s/autosave-my_level_.txt");
    EXPECT_EQ(Autosave("/s", "").Path(), "/s/autosave-new.txt");
}
