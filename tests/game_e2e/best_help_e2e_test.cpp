// The built game under the display: a stage of no points played by hand writes no best, F1 opens the help
// page and any key closes it, and an empty library says where the song list should be.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "audio/ogg_encode.h"
#include "support/game_process.h"

using namespace std::chrono_literals;

namespace {

class BestAndHelpGame : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
    }

    // The game on its title screen, ready for keys.
    static size_t startAtTitle(GameProcess &game)
    {
        game.start();
        if (game.waitForWindow().empty())
            return std::string::npos;
        const size_t at = game.waitForTrace(" state Title\n", 0, 15s);
        std::this_thread::sleep_for(300ms);
        return at;
    }

    // Escape to the title (when on the select screen) and out of the game.
    static void quit(GameProcess &game, size_t at, bool onSelect)
    {
        if (onSelect) {
            ASSERT_TRUE(pressKey("Escape", 80ms));
            at = game.waitForTrace(" state Title\n", at, 5s);
            ASSERT_NE(at, std::string::npos) << game.trace();
            std::this_thread::sleep_for(300ms);
        }
        ASSERT_TRUE(pressKey("Escape", 80ms));
        ASSERT_TRUE(game.exitsWithin(5000ms)) << game.trace();
        EXPECT_EQ(game.exitStatus, 0) << game.trace();
    }

    // True when the pattern shows up in the trace after `from` within the time.
    static bool traced(GameProcess &game, const std::string &pattern, size_t from, std::chrono::milliseconds limit)
    {
        return game.waitForTrace(pattern, from, limit) != std::string::npos;
    }
};

} // namespace

TEST_F(BestAndHelpGame, AStageOfNoPointsPlayedByHandWritesNoBest)
{
    GameProcess game;
    game.install(false);
    // One bar of four notes after an empty bar; nobody sings, so every note is a MISS.
    writeWholeFile(game.folder.file("data/songlist.txt"), "stage.txt\n");
    writeWholeFile(game.folder.file("data/stage.txt"),
                   "TITLE:best\nLEVEL:1\nWAVE:stage.ogg\nBPM:120\nOFFSET:0\n#START\n,\n4c 4e 4g 5c ,\n#END\n");
    const int rate = 44100;
    ASSERT_TRUE(encodeOgg(game.folder.file("data/stage.ogg"), 2, rate, sineSamples(2, rate, size_t(rate) * 5, 330.0)));
    size_t at = startAtTitle(game);
    ASSERT_NE(at, std::string::npos) << game.trace();

    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" song start stage\\.txt autoplay=0 stage=0\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    at = game.waitForTrace(" song end miss=4 [^\n]*\n", at, 30s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    // Every note missed: a stage of no points is no best, so nothing is written or flashed.
    EXPECT_FALSE(traced(game, " best ", at, 1200ms)) << game.trace();
    EXPECT_FALSE(fileExists(game.folder.file("data/best.txt")));

    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    quit(game, at, true);
}

TEST_F(BestAndHelpGame, F1OpensTheHelpAndAnyKeyClosesItAndDoesNothingElse)
{
    GameProcess game;
    game.install(true);
    size_t at = startAtTitle(game);
    ASSERT_NE(at, std::string::npos) << game.trace();

    // On the title: space closes the page and does not start a credit.
    ASSERT_TRUE(pressKey("F1", 80ms));
    at = game.waitForTrace(" help shown\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" help closed\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    EXPECT_FALSE(traced(game, " state Select\n", at, 600ms)) << game.trace();

    // Escape closes it without leaving the game.
    ASSERT_TRUE(pressKey("F1", 80ms));
    at = game.waitForTrace(" help shown\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("Escape", 80ms));
    at = game.waitForTrace(" help closed\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(game.running()) << game.trace();

    // A key the game has no use for closes it too.
    ASSERT_TRUE(pressKey("F1", 80ms));
    at = game.waitForTrace(" help shown\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("x", 80ms));
    at = game.waitForTrace(" help closed\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    EXPECT_FALSE(traced(game, " state ", at, 600ms)) << game.trace();

    // On the select screen: the right arrow closes it and leaves the cursor alone.
    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("F1", 80ms));
    at = game.waitForTrace(" help shown\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("Up", 80ms));
    at = game.waitForTrace(" help closed\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    EXPECT_FALSE(traced(game, " song start ", at, 600ms)) << game.trace();
    quit(game, at, true);
}

TEST_F(BestAndHelpGame, AnEmptyLibraryNamesTheSongList)
{
    GameProcess game;
    game.install(false);
    size_t at = startAtTitle(game);
    ASSERT_NE(at, std::string::npos) << game.trace();
    const std::string listPath = game.folder.file("data/songlist.txt");
    const std::string text = game.trace();
    EXPECT_NE(text.find("lumatide: " + listPath + ": "), std::string::npos) << text;
    EXPECT_NE(text.find("no songs to play"), std::string::npos) << text;

    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("space", 80ms));
    EXPECT_FALSE(traced(game, " song start ", at, 600ms)) << game.trace();
    quit(game, at, true);
}
