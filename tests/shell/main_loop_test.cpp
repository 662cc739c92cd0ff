#include <gtest/gtest.h>

#include "app/app_context.h"
#include "app/main_loop.h"
#include "game/play_reset.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "rules/count_up.h"

namespace {

struct CountUpCase {
    const char *name;
    uint32_t now, resultTime;
    int creditScore;
    double expected; // displayedScore starts at -1 to show when it is left alone
};

TEST(MainLoop, CreditCountUp)
{
    const CountUpCase cases[] = {
        {"no result yet", 50000, 0, 200000, -1},
        {"first second waits", 11000, 10000, 200000, -1},
        {"just after one second", 11001, 10000, 200000, 400},
        {"half way", 11250, 10000, 200000, 100000},
        {"truncates", 11001, 10000, 499, 0},
        {"last step", 11499, 10000, 200000, 199600},
        {"total from 1.5 s on", 11500, 10000, 200000, 200000},
        {"long after", 900000, 10000, 200000, 200000},
        {"timer wrapped since the result", 1000, 0xFFFFFF00u, 200000, 102400},
        {"result time in the future", 10000, 11500, 200000, -1},
        {"large total does not overflow", 11499, 10000, 9000000, 8982000},
    };
    for (const CountUpCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(countedUpScore(c.now, c.resultTime, c.creditScore, -1), c.expected);
    }
}

TEST(MainLoop, ResetPlayStateResetsTheSongAndKeepsTheCredit)
{
    resetAppContext();
    menu.unison = 1;
    menu.autoplay = 1;
    credit.stage = 1;
    credit.creditScore = 1234;
    menu.selectedSong = 3;
    play.keyHeldFrames = 5;
    chart.noteCount = 7;
    chart.lowestOctave = 1;
    chart.highestOctave = 6;
    chart.measureIndex = 9;
    play.octave = 2;
    play.samePitchAsPrevious = 1;
    window.fieldMargin = 40;
    window.pointerX = 100.0;
    window.pointerY = 100.0;
    for (ToneVoice &voice : voices) {
        voice.ringWrite = 4;
        voice.ringDone = 3;
        voice.phase = 0.5;
    }
    play.songTimeMs = 5000;
    play.lastJudgementTime = 77;
    play.judgementCounts[Great] = 3;
    play.combo = 12;
    play.linkActive = 1;
    play.phaseStartTime = play.resultTime = play.fullComboTime = 99;
    play.gauge = 80.0;
    play.score = play.displayedScore = 5000.0;

    resetPlayState();

    EXPECT_EQ(chart.lowestOctave, 3);
    EXPECT_EQ(chart.highestOctave, 4);
    EXPECT_EQ(chart.measureIndex, 0);
    EXPECT_EQ(play.octave.load(), 4);
    EXPECT_EQ(play.samePitchAsPrevious, 0);
    EXPECT_EQ(window.fieldMargin.load(), 20);
    EXPECT_DOUBLE_EQ(window.voiceGain.load(), 0.25);
    for (ToneVoice &voice : voices) {
        EXPECT_EQ(voice.ringWrite.load(), 0);
        EXPECT_EQ(voice.ringDone.load(), 0);
        EXPECT_EQ(voice.phase.load(), 0.0);
    }
    EXPECT_EQ(play.songTimeMs, 0);
    EXPECT_EQ(play.lastJudgementTime, 0u);
    EXPECT_EQ(play.judgementCounts[Great], 0);
    EXPECT_EQ(play.combo, 0);
    EXPECT_EQ(play.linkActive, 0);
    EXPECT_EQ(play.phaseStartTime + play.resultTime + play.fullComboTime, 0u);
    EXPECT_EQ(window.pointerX.load(), 0.0);
    EXPECT_EQ(window.pointerY, 0.0);
    EXPECT_EQ(play.gauge, 20.0);
    EXPECT_EQ(play.score, 0.0);
    EXPECT_EQ(play.displayedScore, 0.0);
    // Left alone: the credit, the selection, the start key and the chart.
    EXPECT_EQ(menu.autoplay, 1);
    EXPECT_EQ(credit.stage, 1);
    EXPECT_EQ(credit.creditScore, 1234);
    EXPECT_EQ(menu.selectedSong, 3);
    EXPECT_EQ(play.keyHeldFrames.load(), 5);
    EXPECT_EQ(chart.noteCount, 7);
}

// The screens poll different keys: a tap that one screen ignores must not act on the next one.
TEST(MainLoop, ATapActsOnlyInTheFrameItCameIn)
{
    resetAppContext();
    fakeResetPlatform();
    fakeSetTimeMs(10000);
    menu.state = Result;
    play.resultTime = 5000; // past the result screen's two-second lock
    fakeTapKey(KeyEscape);
    runFrame();
    EXPECT_EQ(menu.state.load(), Result);
    fakeTapKey(KeySpace);
    runFrame();
    EXPECT_EQ(menu.state.load(), Title);
    runFrame();
    EXPECT_EQ(shell.quitRequested, 0) << "the Escape tapped on the result screen quit the title";

    fakeTapKey(KeyEscape);
    runFrame();
    EXPECT_EQ(shell.quitRequested, 1) << "a tap in the title's own frame quits";
}

} // namespace
