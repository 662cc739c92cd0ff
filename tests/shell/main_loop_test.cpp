#include <gtest/gtest.h>

#include "app/app_context.h"
#include "rules/count_up.h"
#include "app/main_loop.h"
#include "game/play_reset.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"

namespace {

struct CountUpCase {
    const char *name;
    uint32_t now, resultTime;
    int creditScore;
    double expected;         // displayedScore starts at -1 to show when it is left alone
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
    app.menu.unison = 1;
    app.menu.autoplay = 1;
    app.credit.stage = 1;
    app.credit.creditScore = 1234;
    app.menu.selectedSong = 3;
    app.play.keyHeldFrames = 5;
    app.chart.noteCount = 7;
    app.chart.lowestOctave = 1;
    app.chart.highestOctave = 6;
    app.chart.measureIndex = 9;
    app.play.octave = 2;
    app.play.samePitchAsPrevious = 1;
    app.window.fieldMargin = 40;
    app.window.pointerX = 100.0;
    app.window.pointerY = 100.0;
    for (ToneVoice &voice : app.voices) {
        voice.ringWrite = 4;
        voice.ringDone = 3;
        voice.phase = 0.5;
    }
    app.play.songTimeMs = 5000;
    app.play.lastJudgementTime = 77;
    app.play.judgementCounts[Great] = 3;
    app.play.combo = 12;
    app.play.linkActive = 1;
    app.play.phaseStartTime = app.play.resultTime = app.play.fullComboTime = 99;
    app.play.gauge = 80.0;
    app.play.score = app.play.displayedScore = 5000.0;

    resetPlayState();

    EXPECT_EQ(app.chart.lowestOctave, 3);
    EXPECT_EQ(app.chart.highestOctave, 4);
    EXPECT_EQ(app.chart.measureIndex, 0);
    EXPECT_EQ(app.play.octave.load(), 4);
    EXPECT_EQ(app.play.samePitchAsPrevious, 0);
    EXPECT_EQ(app.window.fieldMargin.load(), 20);
    EXPECT_DOUBLE_EQ(app.window.voiceGain.load(), 0.25);
    for (ToneVoice &voice : app.voices) {
        EXPECT_EQ(voice.ringWrite.load(), 0);
        EXPECT_EQ(voice.ringDone.load(), 0);
        EXPECT_EQ(voice.phase.load(), 0.0);
    }
    EXPECT_EQ(app.play.songTimeMs, 0);
    EXPECT_EQ(app.play.lastJudgementTime, 0u);
    EXPECT_EQ(app.play.judgementCounts[Great], 0);
    EXPECT_EQ(app.play.combo, 0);
    EXPECT_EQ(app.play.linkActive, 0);
    EXPECT_EQ(app.play.phaseStartTime + app.play.resultTime + app.play.fullComboTime, 0u);
    EXPECT_EQ(app.window.pointerX.load(), 0.0);
    EXPECT_EQ(app.window.pointerY, 0.0);
    EXPECT_EQ(app.play.gauge, 20.0);
    EXPECT_EQ(app.play.score, 0.0);
    EXPECT_EQ(app.play.displayedScore, 0.0);
    // Left alone: the credit, the selection, the start key and the chart.
    EXPECT_EQ(app.menu.autoplay, 1);
    EXPECT_EQ(app.credit.stage, 1);
    EXPECT_EQ(app.credit.creditScore, 1234);
    EXPECT_EQ(app.menu.selectedSong, 3);
    EXPECT_EQ(app.play.keyHeldFrames.load(), 5);
    EXPECT_EQ(app.chart.noteCount, 7);
}

// The screens poll different keys: a tap that one screen ignores must not act on the next one.
TEST(MainLoop, ATapActsOnlyInTheFrameItCameIn)
{
    resetAppContext();
    fakeResetPlatform();
    fakeSetTimeMs(10000);
    app.menu.state = Result;
    app.play.resultTime = 5000;   // past the result screen's two-second lock
    fakeTapKey(KeyEscape);
    runFrame();
    EXPECT_EQ(app.menu.state.load(), Result);
    fakeTapKey(KeySpace);
    runFrame();
    EXPECT_EQ(app.menu.state.load(), Title);
    runFrame();
    EXPECT_EQ(app.shell.quitRequested, 0) << "the Escape tapped on the result screen quit the title";

    fakeTapKey(KeyEscape);
    runFrame();
    EXPECT_EQ(app.shell.quitRequested, 1) << "a tap in the title's own frame quits";
}

} // namespace
