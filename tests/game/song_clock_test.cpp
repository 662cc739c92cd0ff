#include <gtest/gtest.h>

#include <vector>

#include "app/app_context.h"
#include "game/play_reset.h"
#include "game/song_clock.h"
#include "platform/core/pcm_mixer.h"
#include "platform/fake/fake_platform.h"
#include "platform/pcm.h"
#include "platform/timer.h"
#include "rules/player_pitch.h"

TEST(SongClock, LeadInControlsRise)
{
    const double aspect = 0.75;
    struct Case {
        uint32_t elapsed;
        double y;
    };
    const Case cases[] = {
        {0, -0.3125 * aspect},    // their place beside the field
        {500, 0.596875 * aspect}, // worked by hand: most of the way up after half the time
        {1000, 0.9 * aspect},     {1001, 0.9 * aspect}, {1500, 0.9 * aspect},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(leadInControlY(c.elapsed, aspect), c.y, 1e-12) << c.elapsed;
    for (uint32_t e = 1; e <= 1000; e++)
        ASSERT_GT(leadInControlY(e, aspect), leadInControlY(e - 1, aspect)) << "they only rise, e = " << e;
}

TEST(SongClock, BeatPhase)
{
    struct Case {
        const char *name;
        uint32_t t;
        uint32_t origin;
        uint32_t msPerBeat;
        double phase;
    };
    const Case cases[] = {
        {"on the beat", 1500, 500, 500, 0.0},
        {"within a beat", 1625, 500, 500, 0.25},
        {"before the first measure counts back from it", 0, 500, 400, 0.75},
        {"a first measure before clock zero", 100, 0xFFFFFE0Cu /* -500 */, 400, 0.5},
        {"no tempo", 1234, 0, 0, 0.0},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(beatPhaseAt(c.t, c.origin, c.msPerBeat), c.phase) << c.name;
}

TEST(SongClock, MeasuresAdvanceOnePerFrame)
{
    resetAppContext();
    chart.measureTimes = {500, 2500, 4500};
    chart.measureCount = 3;
    chart.msPerBeat = 500;
    chart.measureIndex = 0;
    play.songTimeMs = 100;
    followBeatAndMeasures();
    EXPECT_EQ(chart.measureIndex, 0);
    EXPECT_DOUBLE_EQ(play.beatPhase, 0.2) << "counted from the first measure";
    play.songTimeMs = 4600;
    followBeatAndMeasures();
    EXPECT_EQ(chart.measureIndex, 1) << "at most one measure a frame";
    followBeatAndMeasures();
    followBeatAndMeasures();
    followBeatAndMeasures();
    EXPECT_EQ(chart.measureIndex, 3);
    EXPECT_DOUBLE_EQ(play.beatPhase, 0.2);

    chart.measureTimes = {0xFFFFFE0Cu, 1500}; // a negative offset: the first measure starts at -500
    chart.measureCount = 2;
    chart.measureIndex = 0;
    play.songTimeMs = 0;
    followBeatAndMeasures();
    EXPECT_EQ(chart.measureIndex, 1) << "a measure before the clock's zero is already under way";
}

TEST(SongClock, PlayerPitch)
{
    struct Case {
        double pointerX;
        int width;
        int margin;
        int octave;
        double pitch;
    };
    const Case cases[] = {
        {320.0, 640, 20, 4, 0.0},       {620.0, 640, 20, 4, 12.0}, {20.0, 640, 20, 4, -12.0},
        {345.0, 640, 20, 5, 13.0},      {321.0, 641, 20, 4, 0.04}, // odd width: centre is floor(W / 2)
        {400.0, 40, 20, 4, 12.0 * 380},                            // no field left: finite all the same
    };
    for (const Case &c : cases)
        EXPECT_NEAR(playerPitchAt(c.pointerX, c.width, c.margin, c.octave), c.pitch, 1e-9) << c.pointerX;
}

TEST(SongClock, LeadInThenTheMusicPosition)
{
    resetAppContext();
    fakeResetPlatform();
    fakeSetTimeMs(20000);
    pcmStartOutput();
    resetPlayState();
    music.openSilent(5000);
    play.playStartTime = timerNowMs();
    play.phaseStartTime = 0;

    std::vector<int16_t> heard(size_t(PcmMixRate) / 100 * PcmMixChannels);
    auto frameAfter = [&](uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            fakeAdvanceTimeMs(10);
            pcmMixerPull(heard.data(), PcmMixRate / 100);
        }
        advanceSongClock(timerNowMs());
    };
    frameAfter(1000);
    EXPECT_EQ(play.songTimeMs, 0);
    EXPECT_EQ(play.phaseStartTime, 0u);
    EXPECT_DOUBLE_EQ(window.controls[ControlUnison - 1].centreY, 0.9 * window.aspect);
    frameAfter(500);
    EXPECT_EQ(play.songTimeMs, 0) << "1500 ms is still the lead-in";
    frameAfter(10);
    EXPECT_EQ(play.phaseStartTime, 21510u) << "the music starts in the first frame after it";
    EXPECT_EQ(music.streamState.load(), Streaming);
    frameAfter(1000);
    EXPECT_NEAR(play.songTimeMs, 1000, 15);
    while (music.streamState.load() != Finished && timerNowMs() < 40000)
        frameAfter(100);
    const int last = play.songTimeMs;
    EXPECT_GE(last, 4900) << "the silent source runs as long as it was opened for";
    frameAfter(500);
    EXPECT_EQ(play.songTimeMs, last) << "once Finished the clock keeps its last value";
    music.close();
}
