#include "records/RecordsScreen.h"

#include <gtest/gtest.h>

namespace {

using Action = RecordsScreen::Action;
constexpr int kEsc = 1, kEnter = 28, kUp = 200, kDown = 208, kKeyS = 31, kKeyD = 32;

RunRecord Record(uint64_t first) {
    RunRecord r;
    r.Demo = "session-a.vkd";
    r.FirstFrame = first;
    r.LastFrame = first + 1;
    return r;
}

platform::KeyState Keys(std::initializer_list<int> held) {
    platform::KeyState keys{};
    for (int key : held) {
        keys[static_cast<std::size_t>(key)] = 0x80;
    }
    return keys;
}

// Presses a key and lets it go.
Action Press(RecordsScreen& screen, int key) {
    const Action action = screen.Keys(Keys({key}));
    screen.Keys(Keys({}));
    return action;
}

TEST(RecordsScreenTest, ArrowsChooseARowWithinTheTableAndEnterWatchesIt) {
    RecordsScreen screen({Record(1), Record(10), Record(20)}, Record(10), false);
    EXPECT_EQ(screen.Selected(), 1u); // the session's new run
    screen.Keys(Keys({}));
    EXPECT_EQ(Press(screen, kDown), Action::None);
    EXPECT_EQ(Press(screen, kDown), Action::None);
    EXPECT_EQ(screen.Selected(), 2u);
    Press(screen, kUp);
    Press(screen, kUp);
    Press(screen, kUp);
    EXPECT_EQ(screen.Selected(), 0u);
    EXPECT_EQ(Press(screen, kEnter), Action::Watch);
    EXPECT_EQ(Press(screen, kKeyS), Action::None); // no server
    EXPECT_EQ(Press(screen, kEsc), Action::Close);
}

TEST(RecordsScreenTest, DStartsTheDailyChallengeOnlyWhereItIsOffered) {
    RecordsScreen desktop({Record(1)}, std::nullopt, false);
    desktop.Keys(Keys({}));
    EXPECT_EQ(Press(desktop, kKeyD), Action::Daily);

    RecordsScreen page({Record(1)}, std::nullopt, false, false);
    page.Keys(Keys({}));
    EXPECT_EQ(Press(page, kKeyD), Action::None);
    EXPECT_EQ(Press(page, kEnter), Action::Watch);
}

TEST(RecordsScreenTest, KeysHeldAsTheScreenOpensActOnlyOncePressedAgain) {
    RecordsScreen screen({Record(1)}, std::nullopt, true);
    EXPECT_EQ(screen.Keys(Keys({kEsc, kEnter})), Action::None);
    EXPECT_EQ(screen.Keys(Keys({kEsc, kEnter})), Action::None);
    EXPECT_EQ(Press(screen, kKeyS), Action::Submit);
}

TEST(RecordsScreenTest, AnEmptyTableHasNothingToWatchAndAClickOnARowWatchesIt) {
    RecordsScreen empty({}, std::nullopt, false);
    empty.Keys(Keys({}));
    EXPECT_EQ(Press(empty, kEnter), Action::None);
    EXPECT_EQ(empty.SelectedRun(), nullptr);

    RecordsScreen screen({Record(1), Record(10)}, std::nullopt, false);
    const int secondRow = 112 + 30;
    EXPECT_EQ(screen.Mouse({platform::Event::Type::MouseDown, 300, secondRow + 5, 1}), Action::Watch);
    EXPECT_EQ(screen.Selected(), 1u);
    EXPECT_EQ(screen.Mouse({platform::Event::Type::MouseDown, 300, 30, 1}), Action::None);
}

} // namespace
