#include "game/LevelFolder.h"

#include "GameFixture.h"
#include "ScratchFolder.h"
#include "game/Game.h"
#include "game/LevelLoader.h"

#include <gtest/gtest.h>

#include <set>

namespace {
LevelFolder::Places Typical() {
    LevelFolder::Places p;
    p.CurrentDir = "/home/u/somewhere";
    p.ExecutableDir = "/usr/bin";
    p.InstalledRelative = "../share/vorkalith/levels";
    p.Home = "/home/u";
    return p;
}

// A file system holding exactly the given files, and the folders above them.
auto Holding(std::set<std::string> files) {
    return [files](const std::string& path) {
        if (files.count(path) != 0) {
            return LevelFolder::PathKind::File;
        }
        for (const std::string& file : files) {
            if (file.starts_with(path + "/")) {
                return LevelFolder::PathKind::Folder;
            }
        }
        return LevelFolder::PathKind::Missing;
    };
}
} // namespace

TEST(LevelFolder, CandidatesInXdgOrderEachOnceWithTheProgramsFolderLast) {
    LevelFolder::Places p = Typical();
    p.CommandLineDir = "/cli";
    p.EnvironmentDir = "/env";
    EXPECT_EQ(
        LevelFolder::Candidates(p),
        (std::vector<std::string>{"/cli", "/env", "/home/u/somewhere", "/home/u/.local/share/vorkalith/levels",
                                  "/usr/share/vorkalith/levels", "/usr/local/share/vorkalith/levels", "/usr/bin"}));
}

TEST(LevelFolder, XdgVariablesReplaceDefaultsAndRelativeEntriesAreIgnored) {
    LevelFolder::Places p = Typical();
    p.DataHome = "/data/home/";
    p.DataDirs = "/a::relative/dir:/b/";
    const std::vector<std::string> c = LevelFolder::Candidates(p);
    const std::vector<std::string> tail(c.begin() + 1, c.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"/data/home/vorkalith/levels", "/usr/share/vorkalith/levels",
                                              "/a/vorkalith/levels", "/b/vorkalith/levels", "/usr/bin"}));
    p.DataHome = "relative";
    EXPECT_EQ(LevelFolder::Candidates(p)[1], "/home/u/.local/share/vorkalith/levels");
}

TEST(LevelFolder, TheCurrentFolderWinsWhenItHoldsTheFirstLevel) {
    const auto choice =
        LevelFolder::Find(Typical(), Holding({"/home/u/somewhere/1.vrk", "/usr/share/vorkalith/levels/1.vrk"}));
    EXPECT_EQ(choice.Folder, "/home/u/somewhere");
    EXPECT_TRUE(choice.HasFirstLevel);
    EXPECT_TRUE(LevelFolder::Warning(choice).empty());
}

TEST(LevelFolder, StartedFromElsewhereFindsTheInstalledLevels) {
    const auto choice = LevelFolder::Find(Typical(), Holding({"/usr/share/vorkalith/levels/1.vrk", "/usr/bin/1.vrk"}));
    EXPECT_EQ(choice.Folder, "/usr/share/vorkalith/levels");
}

TEST(LevelFolder, TheUsersOwnLevelsWinOverTheInstalledOnes) {
    const auto choice = LevelFolder::Find(
        Typical(), Holding({"/home/u/.local/share/vorkalith/levels/1.vrk", "/usr/share/vorkalith/levels/1.vrk"}));
    EXPECT_EQ(choice.Folder, "/home/u/.local/share/vorkalith/levels");
}

TEST(LevelFolder, TheEnvironmentComesBeforeTheCurrentFolder) {
    LevelFolder::Places p = Typical();
    p.EnvironmentDir = "/env";
    const auto choice = LevelFolder::Find(p, Holding({"/env/1.vrk", "/home/u/somewhere/1.vrk"}));
    EXPECT_EQ(choice.Folder, "/env");
}

TEST(LevelFolder, AFolderAskedForThatCannotServeIsRefusedSayingWhy) {
    const auto files = Holding({"/usr/share/vorkalith/levels/1.vrk", "/x/levels.tar", "/x/empty/2.vrk"});
    const struct {
        std::string CommandLine, Environment, Refusal;
    } cases[] = {
        {"/gone", "", "vorkalith: --levels /gone: no such folder"},
        {"/x/levels.tar", "", "vorkalith: --levels /x/levels.tar: not a folder"},
        {"/x/empty", "", "vorkalith: --levels /x/empty: no level file 1.vrk in this folder"},
        {"", "/x/empty", "vorkalith: VORKALITH_LEVELS=/x/empty: no level file 1.vrk in this folder"},
        // --levels decides alone, whatever the environment says.
        {"/gone", "/usr/share/vorkalith/levels", "vorkalith: --levels /gone: no such folder"},
        // A name is printed with its control bytes shown, not obeyed by the terminal.
        {"/a\x1b[2Jb", "", "vorkalith: --levels /a\\x1b[2Jb: no such folder"},
    };
    for (const auto& c : cases) {
        LevelFolder::Places p = Typical();
        p.CommandLineDir = c.CommandLine;
        p.EnvironmentDir = c.Environment;
        const auto choice = LevelFolder::Find(p, files);
        EXPECT_EQ(choice.Refusal, c.Refusal);
        EXPECT_TRUE(choice.Folder.empty());
        EXPECT_TRUE(LevelFolder::Warning(choice).empty());
    }
}

TEST(LevelFolder, TheFolderMustHoldTheLevelTheGameStartsAtAndAReplayTakesItAsItIs) {
    const auto files = Holding({"/usr/share/vorkalith/levels/1.vrk", "/x/playtest/7.vrk"});
    LevelFolder::Places p = Typical();
    p.CommandLineDir = "/x/playtest";
    EXPECT_EQ(LevelFolder::Find(p, files, "7.vrk").Folder, "/x/playtest");
    EXPECT_EQ(LevelFolder::Find(p, files, "8.vrk").Refusal,
              "vorkalith: --levels /x/playtest: no level file 8.vrk in this folder");
    // A demo names the files it reads: a folder given for its replay is used as it is, without a
    // warning, but a missing one is still refused.
    const auto replay = LevelFolder::Find(p, files, "");
    EXPECT_EQ(replay.Folder, "/x/playtest");
    EXPECT_TRUE(LevelFolder::Warning(replay).empty());
    p.CommandLineDir = "/gone";
    EXPECT_EQ(LevelFolder::Find(p, files, "").Refusal, "vorkalith: --levels /gone: no such folder");
}

TEST(LevelFolder, NothingFoundNamesEveryPlaceOnce) {
    const auto choice = LevelFolder::Find(Typical(), Holding({}));
    EXPECT_TRUE(choice.Folder.empty());
    EXPECT_TRUE(choice.Refusal.empty());
    const std::string warning = LevelFolder::Warning(choice);
    EXPECT_NE(warning.find("(looked in /home/u/somewhere, /home/u/.local/share/vorkalith/levels, "
                           "/usr/share/vorkalith/levels, /usr/local/share/vorkalith/levels, /usr/bin)"),
              std::string::npos)
        << warning;
}

class LevelFolderLoad : public GameFixture {
protected:
    void TearDown() override { LevelFolder::Use(""); }
};

TEST_F(LevelFolderLoad, LoadLevelReadsFromTheFolderInUse) {
    ScratchFolder levels;
    std::string bytes(352, '\0');
    bytes[5 * 16 + 3] = 1; // a wall at column 5, row 3
    levels.Write("1.vrk", bytes);
    const std::filesystem::path folder = levels.Path();
    ScratchFolder elsewhere; // the current folder holds no level
    Start();
    LevelFolder::Use(folder.string());
    form->World.LevelGrid[5][3] = 0;
    LoadLevel(form->World, "1.vrk");
    EXPECT_EQ(form->World.LevelGrid[5][3], 1);
    EXPECT_EQ(LevelFolder::PathOf("2.vrk"), (folder / "2.vrk").string());
}
