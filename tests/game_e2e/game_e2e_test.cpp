// Plays the built game end to end: a copy in a fresh folder with one short generated song, keys
// injected with xdotool, the trace read back.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/game_test.h"

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

using GameEndToEnd = GameTest;

TEST_F(GameEndToEnd, AutoplayASongFromTheTitleAndBack)
{
    ASSERT_NO_FATAL_FAILURE(installOneSong("e2e", ShortChart, MusicSeconds));
    ASSERT_NO_FATAL_FAILURE(startToTitle());
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("Up", " song start e2e\\.txt autoplay=1 stage=0\n"));

    ASSERT_NO_FATAL_FAILURE(waitFor(" song end [^\n]*\n", 30s));
    const std::string songEnd = lastLine();
    EXPECT_NE(songEnd.find("miss=0 good=0 great=" + std::to_string(ShortChartNotes) + " score=100000 "),
              std::string::npos)
        << songEnd;
    EXPECT_NE(songEnd.find(" CLEAR"), std::string::npos) << songEnd;
    EXPECT_NE(game.trace().find(" full combo\n"), std::string::npos) << game.trace();

    // Space is only taken a second after the end.
    std::this_thread::sleep_for(1200ms);
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit());
}

} // namespace
