#include "level/LevelCheck.h"
#include "platform/base/Translate.h"

#include <gtest/gtest.h>

using namespace levels;

namespace {

bool Mentions(const std::vector<Problem>& problems, const std::string& words) {
    for (const auto& p : problems) {
        if (p.Text.find(words) != std::string::npos) {
            return true;
        }
    }
    return false;
}

Level WithShip(int column = 0, int row = 0) {
    Level level;
    level.Set(column, row, Ship);
    return level;
}

} // namespace

TEST(LevelCheck, AcceptsASoundLevel) {
    Level level = WithShip(10, 7);
    level.Set(3, 3, Wall);
    level.Set(0, 14, MineUp);
    EXPECT_TRUE(CheckLevel(level).empty());
    EXPECT_EQ(CountMines(level), 1);
    EXPECT_EQ(CountWalls(level), 1);
}

TEST(LevelCheck, WantsExactlyOneShipInsideTheField) {
    EXPECT_TRUE(Mentions(CheckLevel(Level()), "0 ship cells"));
    Level two = WithShip(2, 5);
    two.Set(7, 1, Ship);
    EXPECT_TRUE(Mentions(CheckLevel(two), "2 ship cells"));
    EXPECT_TRUE(Mentions(CheckLevel(WithShip(21, 3)), "(21, 3) lies outside the field"));
}

TEST(LevelCheck, WantsFloorOutsideTheFieldAndKnownCodes) {
    Level level = WithShip();
    level.Set(21, 0, Wall);
    level.Set(5, 15, MineDown);
    level.Set(4, 4, 7);
    auto problems = CheckLevel(level);
    EXPECT_TRUE(Mentions(problems, "(21, 0) lies outside the field"));
    EXPECT_TRUE(Mentions(problems, "(5, 15) lies outside the field"));
    EXPECT_TRUE(Mentions(problems, "(4, 4) holds code 7"));
}

TEST(LevelCheck, FindsFloorTheShipCannotReach) {
    Level level = WithShip();
    // A walled pocket around (18, 12): mines count as floor and must be reachable too.
    for (int c = 17; c <= 19; ++c) {
        level.Set(c, 11, Wall);
        level.Set(c, 13, Wall);
    }
    level.Set(17, 12, Wall);
    level.Set(19, 12, Wall);
    level.Set(18, 12, MineUp);
    auto problems = CheckLevel(level);
    EXPECT_TRUE(Mentions(problems, "floor cell (18, 12) cannot be reached"));
    EXPECT_EQ(problems.size(), 1u);
}

TEST(LevelCheck, LimitsMinesToAHundred) {
    Level level = WithShip(20, 14);
    int placed = 0;
    for (int column = 0; column < 20 && placed < 101; column += 2) {
        for (int row = 0; row < 15 && placed < 101; ++row, ++placed) {
            level.Set(column, row, MineDown);
        }
    }
    CheckOptions quick{0, 0};
    EXPECT_TRUE(Mentions(CheckLevel(level, quick), "101 mines"));
}

TEST(LevelCheck, FlagsMinesNearTheShipEarlyOnly) {
    // A mine six cells below the ship comes into its neighbourhood after 150 frames.
    Level near = WithShip(5, 0);
    near.Set(5, 7, MineUp);
    EXPECT_TRUE(Mentions(CheckLevel(near), "mine from (5, 7) comes next to the ship's start in frame 151"));
    CheckOptions shorter;
    shorter.SafeFrames = 150;
    EXPECT_TRUE(CheckLevel(near, shorter).empty());
    // A mine in the next column but one passes by without touching the block.
    Level beside = WithShip(5, 0);
    beside.Set(7, 7, MineUp);
    EXPECT_TRUE(CheckLevel(beside).empty());
}

TEST(LevelCheck, FlagsMinesThatRunOffTheRight) {
    Level open = WithShip();
    open.Set(10, 9, MineRight);
    EXPECT_TRUE(Mentions(CheckLevel(open), "mine from (10, 9) runs off the right"));
    Level walled = open;
    walled.Set(16, 9, Wall);
    EXPECT_TRUE(CheckLevel(walled).empty());
}

// A level source keeps what a problem says in a comment, the same in every language; the
// terminal shows it in the user's, with the same numbers.
class LevelCheckLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        SetTranslations("xx", {{"mine from {} runs off the right of the field in frame {}", "[{}] off at {}"},
                               {"{} ship cells instead of one", "ships: {}"}});
    }
    void TearDown() override { SetTranslations("", {}); }
};

TEST_F(LevelCheckLanguage, AProblemIsWrittenAsItIsAndShownTranslated) {
    Level level;
    level.Set(10, 9, MineRight);
    const auto problems = CheckLevel(level);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].Text, "0 ship cells instead of one");
    EXPECT_EQ(problems[1].Text,
              "mine from (10, 9) runs off the right of the field in frame " + std::to_string(problems[1].Frame));
    EXPECT_EQ(TranslatedText(problems[0]), "ships: 0");
    EXPECT_EQ(TranslatedText(problems[1]), "[(10, 9)] off at " + std::to_string(problems[1].Frame));
}
