// The player's settings on the built game: keys pressed with xdotool, the trace and conf.ini read
// back, and a second start in the same folder.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <thread>

#include "platform/window.h"
#include "support/game_test.h"

using namespace std::chrono_literals;

namespace {

// Four bars of 120 BPM after one empty bar, its music a plain tone a little longer.
const char *const SettingsChart =
    "TITLE:settings\nLEVEL:1\nWAVE:settings.ogg\nBPM:120\nOFFSET:0\n#START\n"
    ",\n"
    "4c 4e 4g 4c ,\n"
    "4e 4d 4c 40 ,\n"
    "#END\n";
constexpr int SettingsChartNotes = 7;
constexpr int MusicSeconds = 7;

class SettingsEndToEnd : public GameTest {
protected:
    // The test song from a fresh start, in AUTOPLAY.
    void startAutoplaySong()
    {
        ASSERT_NO_FATAL_FAILURE(installOneSong("settings", SettingsChart, MusicSeconds));
        ASSERT_NO_FATAL_FAILURE(startToTitle());
        ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
        ASSERT_NO_FATAL_FAILURE(pressFor("Up", " song start settings\\.txt autoplay=1 stage=0\n"));
    }

    // The song time the last "pause" or "resume" line names.
    int lastSongTime() const
    {
        const std::string line = lastLine();
        return std::atoi(line.c_str() + line.rfind(' ') + 1);
    }
};

TEST_F(SettingsEndToEnd, SettingsChangedByKeysSurviveARestart)
{
    ASSERT_NO_FATAL_FAILURE(installOneSong("settings", SettingsChart, MusicSeconds));
    ASSERT_NO_FATAL_FAILURE(startToTitle());
    EXPECT_EQ(readWholeFile(game.folder.file("conf.ini")), "[config]\nBufferLength=20\n")
        << "a first start writes the buffer length only";

    ASSERT_NO_FATAL_FAILURE(pressFor("minus", " config MusicVolume=95\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("bracketleft", " config ToneVolume=95\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("w", " config Wave=1\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("e", " config Unison=1\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("F11", " fullscreen 1\n[0-9]+ config FullScreen=1\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("shift+z", " config ScrollSpeed=4\\.0\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("shift+z", " config ScrollSpeed=3\\.5\n"));
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit());

    const std::string ini = readWholeFile(game.folder.file("conf.ini"));
    EXPECT_EQ(ini.rfind("[config]\nBufferLength=20\n", 0), 0u) << ini;
    for (const char *line :
         {"MusicVolume=95", "ToneVolume=95", "Wave=1", "Unison=1", "FullScreen=1", "ScrollSpeed=3.5"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;

    // The second start goes on from every saved value: each key's next step shows it.
    ASSERT_NO_FATAL_FAILURE(startToTitle());
    EXPECT_EQ(game.trace().find("conf.ini"), std::string::npos) << "every saved value is read without complaint";
    ASSERT_NO_FATAL_FAILURE(pressFor("alt+Return", " fullscreen 0\n[0-9]+ config FullScreen=0\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("minus", " config MusicVolume=90\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("bracketright", " config ToneVolume=100\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("w", " config Wave=2\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("e", " config Unison=0\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("z", " config ScrollSpeed=4\\.0\n"));
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit());
}

TEST_F(SettingsEndToEnd, PauseHoldsTheSongAndEscapeLeavesIt)
{
    ASSERT_NO_FATAL_FAILURE(startAutoplaySong());
    ASSERT_NO_FATAL_FAILURE(waitFor(" music Streaming\n", 5s));
    std::this_thread::sleep_for(1500ms);

    ASSERT_NO_FATAL_FAILURE(pressFor("p", " pause -?[0-9]+\n"));
    const int pausedAt = lastSongTime();
    EXPECT_GT(pausedAt, 1000) << game.trace();
    const size_t judgedBeforeResume = game.trace().size();
    std::this_thread::sleep_for(2000ms);
    EXPECT_EQ(game.trace().find(" judge ", judgedBeforeResume), std::string::npos) << "nothing is judged while paused";
    ASSERT_NO_FATAL_FAILURE(pressFor("p", " resume -?[0-9]+\n"));
    EXPECT_EQ(lastSongTime(), pausedAt) << "the clock stood still";

    // AUTOPLAY plays every note once, pause or not.
    ASSERT_NO_FATAL_FAILURE(waitFor(" song end [^\n]*\n", 20s));
    const std::string text = game.trace();
    EXPECT_NE(text.find("miss=0 good=0 great=" + std::to_string(SettingsChartNotes) + " "), std::string::npos) << text;
    const std::regex judgeLine(" judge ");
    EXPECT_EQ(std::distance(std::sregex_iterator(text.begin(), text.end(), judgeLine), std::sregex_iterator()),
              SettingsChartNotes)
        << text;

    // A second song, paused and left with Escape.
    std::this_thread::sleep_for(1200ms);
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("Up", " song start settings\\.txt autoplay=1 stage=0\n"));
    std::this_thread::sleep_for(500ms);
    ASSERT_NO_FATAL_FAILURE(pressFor("p", " pause -?[0-9]+\n"));
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit());
}

// Another window taking the keyboard during play pauses the song; back in the game, P resumes.
TEST_F(SettingsEndToEnd, LosingTheKeyboardPausesPlay)
{
    ASSERT_NO_FATAL_FAILURE(startAutoplaySong());
    ASSERT_NO_FATAL_FAILURE(waitFor(" music Streaming\n", 5s));

    ASSERT_TRUE(windowCreate("focus-taker", 200, 100));
    windowShow();
    const std::string search = "xdotool search --onlyvisible --name '^focus-taker$' 2>/dev/null | head -1";
    std::string id;
    for (int attempt = 0; attempt < 50 && id.empty(); attempt++) {
        WindowMessage message;
        while (windowTakeMessage(message)) {}
        if (FILE *pipe = popen(search.c_str(), "r")) {
            char line[64] = "";
            if (fgets(line, sizeof line, pipe) != nullptr)
                id = std::string(line).substr(0, std::string(line).find('\n'));
            pclose(pipe);
        }
        std::this_thread::sleep_for(100ms);
    }
    ASSERT_FALSE(id.empty());
    std::system(("xdotool windowfocus " + id + " 2>/dev/null").c_str());
    EXPECT_NO_FATAL_FAILURE(waitFor(" pause -?[0-9]+\n", 5s));
    windowDestroy();

    ASSERT_FALSE(game.waitForWindow().empty());
    std::this_thread::sleep_for(300ms);
    ASSERT_NO_FATAL_FAILURE(pressFor("p", " resume -?[0-9]+\n"));
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit());
}

// Two stages after one AUTOPLAY song: the credit counts only the player's own judgements (here,
// with no key pressed, every note a MISS).
TEST_F(SettingsEndToEnd, AutoplayJudgementsStayOutOfTheCredit)
{
    ASSERT_NO_FATAL_FAILURE(startAutoplaySong());
    ASSERT_NO_FATAL_FAILURE(waitFor(" song end [^\n]*\n", 20s));
    std::this_thread::sleep_for(1200ms);
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    for (int stage = 0; stage < 2; stage++) {
        ASSERT_NO_FATAL_FAILURE(
            pressFor("space", " song start settings\\.txt autoplay=0 stage=" + std::to_string(stage) + "\n"));
        ASSERT_NO_FATAL_FAILURE(waitFor(" song end [^\n]*\n", 20s));
        std::this_thread::sleep_for(1200ms);
        ASSERT_NO_FATAL_FAILURE(pressFor("space", stage == 0 ? " state Select\n" : " state Result\n"));
    }
    EXPECT_NE(game.waitForTrace(" credit [0-9]+ miss=" + std::to_string(2 * SettingsChartNotes) + " good=0 great=0\n",
                                0, 5s),
              std::string::npos)
        << game.trace();
}

} // namespace
