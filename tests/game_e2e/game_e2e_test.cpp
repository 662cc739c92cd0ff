// Plays the built game end to end: a copy in a fresh folder with one short generated song, keys
// injected with xdotool, the trace read back.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "audio/ogg_encode.h"
#include "support/game_process.h"

using namespace std::chrono_literals;

namespace {

// Two bars of 120 BPM with a slide, after one empty bar; the music runs a little past the chart.
const char *const ShortChart =
    "TITLE:e2e\nLEVEL:1\nWAVE:e2e.ogg\nBPM:120\nOFFSET:0\n#START\n"
    ",\n"
    "4c 4e 4G 4c ,\n"
    "4e 4d 4c 40 ,\n"
    "#END\n";
constexpr int ShortChartNotes = 7;
constexpr int MusicSeconds = 7;

// One short song beside a copy of the game, its music a plain tone a little longer than the chart.
void installShortSong(GameProcess &game)
{
    game.install(false);
    writeWholeFile(game.folder.file("data/songlist.txt"), "e2e.txt\n");
    writeWholeFile(game.folder.file("data/e2e.txt"), ShortChart);
    const int rate = 44100;
    ASSERT_TRUE(
        encodeOgg(game.folder.file("data/e2e.ogg"), 2, rate, sineSamples(2, rate, size_t(rate) * MusicSeconds, 330.0)));
}

class GameEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
    }
};

TEST_F(GameEndToEnd, AutoplayASongFromTheTitleAndBack)
{
    GameProcess game;
    ASSERT_NO_FATAL_FAILURE(installShortSong(game));
    size_t at = game.startAtTitle();
    ASSERT_NE(at, std::string::npos) << game.trace();

    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();

    ASSERT_TRUE(pressKey("Up", 80ms));
    at = game.waitForTrace(" song start e2e\\.txt autoplay=1 stage=0\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();

    at = game.waitForTrace(" song end [^\n]*\n", at, 30s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    const std::string text = game.trace();
    const size_t lineStart = text.rfind(" song end ", at);
    const std::string songEnd = text.substr(lineStart, at - lineStart);
    EXPECT_NE(songEnd.find("miss=0 good=0 great=" + std::to_string(ShortChartNotes) + " score=100000 "),
              std::string::npos)
        << songEnd;
    EXPECT_NE(songEnd.find(" CLEAR"), std::string::npos) << songEnd;
    EXPECT_NE(text.find(" full combo\n"), std::string::npos) << text;

    // Space is only taken a second after the end.
    std::this_thread::sleep_for(1200ms);
    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();

    ASSERT_TRUE(pressKey("Escape", 80ms));
    at = game.waitForTrace(" state Title\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(pressKey("Escape", 80ms));
    ASSERT_TRUE(game.exitsWithin(5000ms)) << game.trace();
    EXPECT_EQ(game.exitStatus, 0) << game.trace();
}

} // namespace
