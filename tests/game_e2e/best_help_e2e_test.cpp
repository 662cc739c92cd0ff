// The built game under the display: a stage of no points played by hand writes no best, F1 opens the help
// page and any key closes it, and an empty library says where the song list should be.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/game_test.h"

using namespace std::chrono_literals;

namespace {

using BestAndHelpGame = GameTest;

} // namespace

TEST_F(BestAndHelpGame, AStageOfNoPointsPlayedByHandWritesNoBest)
{
    // One bar of four notes after an empty bar; nobody sings, so every note is a MISS.
    ASSERT_NO_FATAL_FAILURE(
        installOneSong("stage",
                       "TITLE:best\nLEVEL:1\nWAVE:stage.ogg\nBPM:120\nOFFSET:0\n#START\n,\n4c 4e 4g 5c ,\n#END\n", 5));
    ASSERT_NO_FATAL_FAILURE(startToTitle());

    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " song start stage\\.txt autoplay=0 stage=0\n"));
    ASSERT_NO_FATAL_FAILURE(waitFor(" song end miss=4 [^\n]*\n", 30s));
    // Every note missed: a stage of no points is no best, so nothing is written or flashed.
    EXPECT_FALSE(tracesWithin(" best ", 1200ms)) << game.trace();
    EXPECT_FALSE(fileExists(game.folder.file("data/best.txt")));

    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit());
}

TEST_F(BestAndHelpGame, F1OpensTheHelpAndAnyKeyClosesItAndDoesNothingElse)
{
    game.install(true);
    ASSERT_NO_FATAL_FAILURE(startToTitle());

    // On the title: space closes the page and does not start a credit.
    ASSERT_NO_FATAL_FAILURE(pressFor("F1", " help shown\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " help closed\n"));
    EXPECT_FALSE(tracesWithin(" state Select\n", 600ms)) << game.trace();

    // Escape closes it without leaving the game.
    ASSERT_NO_FATAL_FAILURE(pressFor("F1", " help shown\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("Escape", " help closed\n"));
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(game.running()) << game.trace();

    // A key the game has no use for closes it too.
    ASSERT_NO_FATAL_FAILURE(pressFor("F1", " help shown\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("x", " help closed\n"));
    EXPECT_FALSE(tracesWithin(" state ", 600ms)) << game.trace();

    // On the select screen: the up arrow closes it and starts no song.
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("F1", " help shown\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("Up", " help closed\n"));
    EXPECT_FALSE(tracesWithin(" song start ", 600ms)) << game.trace();
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit());
}

TEST_F(BestAndHelpGame, AnEmptyLibraryNamesTheSongList)
{
    game.install(false);
    ASSERT_NO_FATAL_FAILURE(startToTitle());
    const std::string listPath = game.folder.file("data/songlist.txt");
    const std::string text = game.trace();
    EXPECT_NE(text.find("lumatide: " + listPath + ": "), std::string::npos) << text;
    EXPECT_NE(text.find("no songs to play"), std::string::npos) << text;

    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_TRUE(pressKey("space", 80ms));
    EXPECT_FALSE(tracesWithin(" song start ", 600ms)) << game.trace();
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit());
}
