#include "game/LevelLoader.h"
#include "PlayFixture.h"
#include "platform/base/Exception.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace {

class LevelLoaderTest : public PlayFixture {
protected:
    void SetUp() override { StartWith(LevelFile()); }
    void Load(const std::string& bytes) {
        folder.Write("t.vrk", bytes);
        LoadLevel(W(), "t.vrk");
    }
    int ActiveMines() {
        int n = 0;
        for (int i = 1; i <= 100; ++i) {
            n += W().MineMode[i] != 0;
        }
        return n;
    }
};

TEST_F(LevelLoaderTest, CodesPlaceWallsMinesAndTheShipInScanOrder) {
    LevelFile file;
    file.Set(1, 2, 3)  // offset 18: a mine at (30, 60) moving right
        .Set(0, 14, 2) // earlier in the scan: slot 1
        .Set(1, 0, 5)  // slot 2, moving left
        .Set(3, 3, 4)  // slot 4, moving down
        .Set(2, 5, 6)  // two ship codes: the later one in the scan wins
        .Set(7, 1, 6)
        .Set(5, 5, 1)
        .Set(6, 6, 7) // unknown codes are floor
        .Set(8, 8, 255);
    Load(file.Bytes() + std::string(48, '\x01')); // bytes after the first 352 are ignored
    struct Mine {
        double x, y;
        int mode;
    };
    const Mine mines[] = {{0, 420, 1}, {30, 0, 4}, {30, 60, 2}, {90, 90, 3}};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(W().Mines[i]->X, mines[i - 1].x) << i;
        EXPECT_EQ(W().Mines[i]->Y, mines[i - 1].y) << i;
        EXPECT_EQ(W().MineMode[i], mines[i - 1].mode) << i;
        EXPECT_EQ(W().Mines[i]->Image, &W().FXPicture(0)) << i;
    }
    EXPECT_EQ(ActiveMines(), 4);
    EXPECT_EQ(W().ShipSprite->X, 210);
    EXPECT_EQ(W().ShipSprite->Y, 30);
    int walls = 0;
    for (int c = 0; c < 21; ++c) {
        for (int r = 0; r < 15; ++r) {
            walls += W().FieldMap->Cells(c, r);
        }
    }
    EXPECT_EQ(walls, 1);
    EXPECT_EQ(W().FieldMap->Cells(5, 5), 1);
    EXPECT_EQ(W().LevelGrid[1][2], 3);
}

TEST_F(LevelLoaderTest, CodesBeyondTheFieldPlaceNoWallButStillTheShip) {
    Load(LevelFile().Set(21, 0, 1).Set(0, 15, 1).Set(21, 3, 6).Set(4, 15, 4).Bytes());
    for (int c = 0; c < 21; ++c) {
        for (int r = 0; r < 15; ++r) {
            ASSERT_EQ(W().FieldMap->Cells(c, r), 0);
        }
    }
    EXPECT_EQ(W().ShipSprite->X, 630);
    EXPECT_EQ(W().ShipSprite->Y, 90);
    EXPECT_EQ(W().Mines[1]->X, 120);
    EXPECT_EQ(W().Mines[1]->Y, 450);
}

TEST_F(LevelLoaderTest, ANewLevelReplacesEveryWallAndMineButKeepsAShiplessShip) {
    LevelFile first;
    for (int c = 0; c < 10; ++c) {
        first.Set(c, 0, 1).Set(c, 1, 3);
    }
    Load(first.Bytes());
    EXPECT_EQ(ActiveMines(), 10);
    W().ShipSprite->X = 77;
    W().ShipSprite->Y = 88;
    Load(LevelFile().Set(12, 12, 2).Bytes());
    EXPECT_EQ(ActiveMines(), 1);
    EXPECT_EQ(W().Mines[1]->X, 360);
    for (int i = 2; i <= 10; ++i) {
        EXPECT_EQ(W().Mines[i]->X, -2000) << i;
        EXPECT_EQ(W().Mines[i]->Y, 30) << i; // parking leaves Y alone
    }
    EXPECT_EQ(W().FieldMap->Cells(3, 0), 0);
    EXPECT_EQ(W().ShipSprite->X, 77);
    EXPECT_EQ(W().ShipSprite->Y, 88);
    // A file of zeros: open field, no mine, the ship stays.
    Load(LevelFile().Bytes());
    EXPECT_EQ(ActiveMines(), 0);
    EXPECT_EQ(W().ShipSprite->X, 77);
}

TEST_F(LevelLoaderTest, MissingAndShortFilesChangeNothing) {
    Load(LevelFile().Set(2, 2, 1).Set(3, 3, 2).Bytes());
    LoadLevel(W(), "absent.vrk");
    EXPECT_EQ(W().FieldMap->Cells(2, 2), 1);
    EXPECT_EQ(ActiveMines(), 1);
    folder.Write("short.vrk", std::string(351, '\0'));
    try {
        LoadLevel(W(), "short.vrk");
        ADD_FAILURE() << "a short file loaded";
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Read beyond end of file");
        EXPECT_EQ(e.ErrorCode, 100);
    }
    EXPECT_EQ(W().FieldMap->Cells(2, 2), 1);
    EXPECT_EQ(ActiveMines(), 1);
    EXPECT_EQ(W().Mines[1]->X, 90);
}

// A folder, a FIFO without a writer, a symbolic link loop and a device under a level's name
// are files that cannot be opened: nothing changes, nothing is reported, nothing waits.
TEST_F(LevelLoaderTest, NamesThatAreNoRegularFileChangeNothing) {
    Load(LevelFile().Set(2, 2, 1).Set(3, 3, 2).Set(4, 4, 6).Bytes());
    std::filesystem::create_directory(folder.Path() / "folder.vrk");
    ASSERT_EQ(::mkfifo((folder.Path() / "fifo.vrk").c_str(), 0600), 0);
    std::filesystem::create_symlink("loop-b.vrk", folder.Path() / "loop-a.vrk");
    std::filesystem::create_symlink("loop-a.vrk", folder.Path() / "loop-b.vrk");
    std::filesystem::create_symlink("/dev/null", folder.Path() / "device.vrk");
    for (const char* name : {"folder.vrk", "fifo.vrk", "loop-a.vrk", "device.vrk", "/dev/zero"}) {
        EXPECT_NO_THROW(LoadLevel(W(), name)) << name;
    }
    EXPECT_EQ(W().FieldMap->Cells(2, 2), 1);
    EXPECT_EQ(ActiveMines(), 1);
    EXPECT_EQ(W().Mines[1]->X, 90);
    EXPECT_EQ(W().ShipSprite->X, 120);
    EXPECT_TRUE(platform.Errors.empty());
}

TEST_F(LevelLoaderTest, MineCodesBeyondTheHundredthAreLeftOut) {
    LevelFile file;
    for (int c = 0; c < 21; ++c) {
        for (int r = 0; r < 5; ++r) {
            file.Set(c, r, 4); // 105 mines
        }
    }
    Load(file.Bytes());
    EXPECT_EQ(ActiveMines(), 100);
    EXPECT_EQ(W().Mines[100]->X, 19 * 30);
    EXPECT_EQ(W().Mines[100]->Y, 4 * 30);
    EXPECT_EQ(FreeMineSlot(W()), 0);
    RunFrames(1);
}

} // namespace
