#include "PlayFixture.h"
#include "sprite/DXSpriteEngine.h"
#include "sprite/SpriteEngine.h"

#include <string>
#include <vector>

namespace {

using OrbsAndScoreTest = PlayFixture;

TEST_F(OrbsAndScoreTest, PulseRunsWithAPeriodOf101Frames) {
    StartWith(LevelFile());
    QuietPlay(300, 210);
    W().OrbPulse[1] = 0;
    W().OrbRising[1] = 0;
    // 0 lasts two frames (the second being the first of the next period), 50 one.
    std::vector<int> period{0};
    for (int p = 1; p <= 50; ++p) {
        period.push_back(p);
    }
    for (int p = 49; p >= 0; --p) {
        period.push_back(p);
    }
    ASSERT_EQ(period.size(), 101u);
    for (int frame = 0; frame < 202; ++frame) {
        RunFrames(1);
        ASSERT_EQ(W().OrbPulse[1], period[static_cast<std::size_t>(frame % 101)]) << frame;
    }
}

TEST_F(OrbsAndScoreTest, PulsePicturesChangeInBandsAndHoldAtTheirEdges) {
    StartWith(LevelFile());
    QuietPlay(300, 210);
    TPictureCollectionItem* held = &W().FXPicture(11);
    for (int phase = 0; phase <= 50; ++phase) {
        // Orb 10, the last one that pulses, reaches `phase` in the next frame.
        W().OrbPulse[10] = static_cast<uint8_t>(phase == 0 ? 1 : phase - 1);
        W().OrbRising[10] = phase == 0 ? 0 : 1;
        W().Orbs[10]->Image = held;
        RunFrames(1);
        ASSERT_EQ(W().OrbPulse[10], phase);
        int picture = -1;
        if (phase >= 1 && phase <= 11) {
            picture = 6;
        } else if (phase >= 13 && phase <= 24) {
            picture = 7;
        } else if (phase >= 26 && phase <= 36) {
            picture = 8;
        } else if (phase >= 38 && phase <= 49) {
            picture = 9;
        }
        EXPECT_EQ(W().Orbs[10]->Image, picture < 0 ? held : &W().FXPicture(picture)) << phase;
    }
    EXPECT_EQ(W().OrbIcon()->Image, &W().FXPicture(6));
}

TEST_F(OrbsAndScoreTest, OrbsTouchedAtTheEdgeOfTheShipAreEatenAndMovedOffTheWalls) {
    LevelFile file;
    for (int c = 0; c < 10; ++c) {
        for (int r = 0; r < 15; ++r) {
            file.Set(c, r, 1);
        }
    }
    StartWith(file);
    QuietPlay(299, 210);
    TGame& w = W();
    w.Heading = 2;      // the ship's box after this frame's move is (300, 210) .. (330, 240)
    w.Orbs[1]->X = 315; // centre (330, 225): on the right edge of the ship's box
    w.Orbs[1]->Y = 210;
    w.Orbs[2]->X = 285; // centre (300, 240): the bottom-left corner
    w.Orbs[2]->Y = 225;
    w.Orbs[3]->X = 316; // centre one pixel outside
    w.Orbs[3]->Y = 210;
    TRandom expected = w.RandomGenerator;
    RunFrames(1);
    EXPECT_EQ(w.OrbsEaten, 2);
    EXPECT_EQ(w.Energy, 200);
    EXPECT_DOUBLE_EQ(w.Speed, 1.06);
    for (int i = 1; i <= 2; ++i) {
        uint32_t column = 0, row = 0;
        do {
            column = expected.Next(21);
            row = expected.Next(15);
        } while (column < 10);
        EXPECT_EQ(w.Orbs[i]->X, 30.0 * column) << i;
        EXPECT_EQ(w.Orbs[i]->Y, 30.0 * row) << i;
    }
    EXPECT_EQ(w.Orbs[3]->X, 316);
}

TEST_F(OrbsAndScoreTest, AnOrbTouchedAfterTheHundredthEndsTheLevelWithoutBeingEaten) {
    StartWith(LevelFile());
    QuietPlay(300, 210);
    W().OrbsEaten = 100;
    W().LevelPhase = 1;
    W().Orbs[4]->X = 300;
    W().Orbs[4]->Y = 210;
    RunFrames(1);
    EXPECT_EQ(W().GameState, 2);
    EXPECT_EQ(W().LevelPhase, 0);
    EXPECT_EQ(W().OrbsEaten, 100);
    EXPECT_EQ(W().Energy, 100);
    EXPECT_EQ(W().Orbs[4]->X, 300);
}

TEST_F(OrbsAndScoreTest, TailSegmentsFollowEveryFifthPathEntryFromTheTenth) {
    StartWith(LevelFile());
    QuietPlay(300, 210);
    for (int eaten : {2, 3, 100}) {
        for (int k = 0; k <= TGame::kPathLength; ++k) {
            W().Path[static_cast<std::size_t>(k)] = {k, 1000 + k};
        }
        for (int i = 1; i <= 100; ++i) {
            W().Segments[i]->X = -2000;
        }
        W().OrbsEaten = static_cast<uint8_t>(eaten);
        RunFrames(1);
        // After this frame's shift, entry k holds what entry k - 1 held.
        for (int i = 1; i <= 100; ++i) {
            const bool placed = eaten > 2 && i <= eaten;
            EXPECT_EQ(W().Segments[i]->X, placed ? 5 * i + 4 : -2000) << eaten << " eaten, segment " << i;
            if (placed) {
                EXPECT_EQ(W().Segments[i]->Y, 1000 + 5 * i + 4);
            }
        }
    }
}

TEST_F(OrbsAndScoreTest, EnergyRunsOutIntoScoreUntilTheScoreIsNegative) {
    StartWith(LevelFile());
    QuietPlay(0, 0);
    W().Heading = 4; // blocked by the left edge
    W().Energy = 0;
    W().Score = 3;
    struct Step {
        int energy, score, state;
    };
    // Energy goes 1, 0, 1, 0 ...; a score of 0 still buys energy, a negative one ends the game.
    const Step steps[] = {{1, 0, 1}, {1, -3, 1}, {0, -3, 0}};
    for (const Step& s : steps) {
        RunFrames(1);
        EXPECT_EQ(W().Energy, s.energy);
        EXPECT_EQ(W().Score, s.score);
        EXPECT_EQ(W().GameState, s.state);
    }
    EXPECT_EQ(W().HighlightSprite->X, -2000);
    EXPECT_EQ(W().MenuChoice, 0);
    // While the title comes back down no item is chosen: a press anywhere starts nothing.
    Mouse(platform::Event::Type::MouseMove, 600, 10);
    Mouse(platform::Event::Type::MouseDown, 600, 10);
    RunFrames(1);
    EXPECT_EQ(W().GameState, 0);
    EXPECT_EQ(W().HighlightSprite->X, -200);
}

// With every sprite hidden, what the play frame writes on the back buffer is text alone.
TEST_F(OrbsAndScoreTest, ScoreTextIsRightAlignedAtTenPixelsACharacter) {
    StartWith(LevelFile());
    QuietPlay(300, 210);
    Mouse(platform::Event::Type::MouseMove, 0, 300);
    TSpriteEngine& root = form->DXSpriteEngine->Engine();
    for (int i = 0; i < root.Count(); ++i) {
        root.ChildAt(i).Visible = false;
    }
    struct Case {
        int score;
        const char* text;
        int x;
    };
    const Case cases[] = {{-45, "Очки:-45", 560}, {0, "Очки:0", 580}, {1234, "Очки:1234", 550}};
    for (const Case& c : cases) {
        W().Score = c.score;
        RunFrames(1);
        EXPECT_EQ(W().ScoreText, c.text);
        const std::vector<uint32_t> pixels = BackPixels();
        int left = 640;
        for (int y = 0; y < 20; ++y) {
            for (int x = 200; x < 640; ++x) {
                if (pixels[static_cast<std::size_t>(y * 640 + x)] != 0 && x < left) {
                    left = x;
                }
            }
        }
        EXPECT_GE(left, c.x) << c.text;
        EXPECT_LE(left, c.x + 4) << c.text;
    }
}

} // namespace
