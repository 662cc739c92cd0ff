#include <gtest/gtest.h>

#include "game/catalogue_cursor.h"
#include "game/repeat_gate.h"

namespace {

std::vector<SongEntry> catalogue(const std::vector<std::pair<int, int>> &levelsAndPlayed)
{
    std::vector<SongEntry> songs;
    for (const auto &[level, played] : levelsAndPlayed) {
        SongEntry entry;
        entry.level = static_cast<uint16_t>(level);
        entry.played = played;
        songs.push_back(entry);
    }
    return songs;
}

} // namespace

TEST(MenuRules, HeldCounterAndSharedGate)
{
    int held = 0;
    for (int frame = 0; frame < 40; frame++)
        held = countHeldFrames(held, true);
    EXPECT_EQ(held, MaxHeldFrames);
    EXPECT_EQ(countHeldFrames(held, false), 0);
    EXPECT_EQ(countHeldFrames(0, true), 1);

    uint32_t last = 1000;
    EXPECT_FALSE(passRepeatGate(1, 1200, last)) << "200 ms is not more than 200 ms";
    EXPECT_FALSE(passRepeatGate(0, 5000, last)) << "a key not held never fires";
    EXPECT_TRUE(passRepeatGate(1, 1201, last));
    EXPECT_EQ(last, 1201u);
    EXPECT_FALSE(passRepeatGate(5, 1300, last));
    // Timer wrap-around: differences are unsigned.
    last = 0xFFFFFF00u;
    EXPECT_TRUE(passRepeatGate(1, 0x00000010u, last));
}

TEST(MenuRules, CursorSearch)
{
    struct Case {
        const char *name;
        std::vector<std::pair<int, int>> songs; // level, played
        uint16_t from;
        int step;
        int extraUnlocked;
        uint16_t expected;
    };
    const Case cases[] = {
        {"next plain", {{1, 0}, {3, 0}, {5, 0}}, 0, +1, 0, 1},
        {"next wraps", {{1, 0}, {3, 0}, {5, 0}}, 2, +1, 0, 0},
        {"previous wraps", {{1, 0}, {3, 0}, {5, 0}}, 0, -1, 0, 2},
        {"locked extra skipped forward", {{1, 0}, {7, 0}, {5, 0}}, 0, +1, 0, 2},
        {"locked extra skipped backward", {{1, 0}, {3, 0}, {7, 0}}, 0, -1, 0, 1},
        {"unlocked extra chosen", {{1, 0}, {7, 0}, {5, 0}}, 0, +1, 1, 1},
        {"played skipped", {{1, 0}, {3, 1}, {5, 0}}, 0, +1, 0, 2},
        {"moves even from a selectable entry", {{1, 0}, {3, 0}}, 1, +1, 0, 0},
        {"only the current entry selectable", {{1, 0}, {3, 1}, {7, 0}}, 0, +1, 0, 0},
        {"nothing selectable stays put", {{1, 1}}, 0, +1, 0, 0},
        {"nothing selectable anywhere", {{1, 1}, {7, 0}, {3, 1}}, 1, -1, 0, 1},
        {"empty catalogue", {}, 0, +1, 0, 0},
    };
    for (const Case &c : cases) {
        const std::vector<SongEntry> songs = catalogue(c.songs);
        EXPECT_EQ(stepToSelectable(songs, static_cast<uint16_t>(songs.size()), c.from, c.step, c.extraUnlocked),
                  c.expected)
            << c.name;
    }
}

TEST(MenuRules, CursorAfterStage)
{
    struct Case {
        const char *name;
        std::vector<std::pair<int, int>> songs;
        int extraUnlocked;
        uint16_t expected;
    };
    const Case cases[] = {
        {"entry 0 when not played", {{1, 0}, {3, 1}, {7, 0}}, 0, 0},
        {"forward over played", {{1, 1}, {3, 1}, {5, 0}}, 0, 2},
        {"last entry when unlocked", {{1, 1}, {3, 0}, {7, 0}}, 1, 2},
        {"last entry played wraps to 0", {{1, 0}, {3, 1}, {7, 1}}, 1, 0},
        {"locked extra not skipped after a stage", {{1, 1}, {7, 0}}, 0, 1},
        {"everything played stays on the start", {{1, 1}, {3, 1}}, 1, 1},
        {"single played song", {{1, 1}}, 0, 0},
        {"empty catalogue", {}, 0, 0},
    };
    for (const Case &c : cases) {
        const std::vector<SongEntry> songs = catalogue(c.songs);
        EXPECT_EQ(cursorAfterStage(songs, static_cast<uint16_t>(songs.size()), c.extraUnlocked), c.expected) << c.name;
    }
}
