// An imported karaoke song played to its end in AUTOPLAY in the built game.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <chrono>
#include <thread>

#include "import_support.h"
#include "support/game_test.h"

using namespace std::chrono_literals;

namespace {

// 300 BPM (50 ms a beat), two seconds of silence first; a slide (lo~~) and a freestyle note that
// is shown but not judged.
const char *const Song =
    "#TITLE:Tune\n#ARTIST:Band\n#MP3:tune.wav\n#BPM:300\n#GAP:2000\n"
    ": 0 4 0 la\n: 8 4 4 la\n: 16 4 7 lo\n: 20 4 9 ~\n: 24 4 12 ~\n: 36 4 5 da\n"
    "F 44 4 0 hey\n: 52 4 2 la\n: 60 4 -3 la\n: 68 4 0 end\nE\n";
constexpr int JudgedNotes = 9;

using ImportedSongInTheGame = GameTest;

TEST_F(ImportedSongInTheGame, AutoplayPlaysItToTheEndAllGreat)
{
    game.install(false);
    game.folder.write("karaoke/Band - Tune/tune.txt", Song);
    ASSERT_TRUE(
        writeTone(game.folder.file("karaoke/Band - Tune/tune.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, 8.0));
    const ToolRun run = runChartTool("import " + quoted(game.folder.file("karaoke")) + " --into " +
                                     quoted(game.folder.file("data")));
    ASSERT_EQ(run.exitCode, 0) << run.output;

    ASSERT_NO_FATAL_FAILURE(startToTitle());
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("Up", " song start Band - Tune/chart\\.txt autoplay=1 stage=0\n"));

    ASSERT_NO_FATAL_FAILURE(waitFor(" song end [^\n]*\n", 30s));
    const std::string songEnd = lastLine();
    EXPECT_NE(songEnd.find("miss=0 good=0 great=" + std::to_string(JudgedNotes) + " "), std::string::npos) << songEnd;

    std::this_thread::sleep_for(1200ms);
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit());
}

} // namespace
