// Pausing a song on the fake clock: the music device is pulled by hand, as the audio thread
// would, and the play update runs frame by frame.
#include <gtest/gtest.h>

#include <vector>

#include "app/app_context.h"
#include "game/play_reset.h"
#include "game/play_update.h"
#include "platform/core/pcm_mixer.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "platform/message_pump.h"
#include "platform/pcm.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "play_fixture.h"

namespace {

constexpr uint32_t FrameMs = 10;

class Pause : public ::testing::Test {
protected:
    std::vector<int16_t> heard = std::vector<int16_t>(size_t(PcmMixRate) / 100 * PcmMixChannels);

    void SetUp() override
    {
        resetAppContext();
        fakeResetPlatform();
        fakeSetTimeMs(20000);
        pcmStartOutput();
        resetPlayState();
        // One note far beyond the test, so that nothing is judged.
        loadTestChart({{600000, 0.0}});
        music.openSilent(60000);
        menu.state.store(Play);
        play.keyHeldFrames.store(-1);
        play.playStartTime = timerNowMs();
        play.phaseStartTime = 0;
    }

    void TearDown() override { music.close(); }

    // The audio thread's pulls and the main loop's frames for `ms` of the timer.
    void runFor(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += FrameMs) {
            fakeAdvanceTimeMs(FrameMs);
            pcmMixerPull(heard.data(), PcmMixRate / 100);
            updatePlay();
            keysEndFrame();
        }
    }

    void tapP()
    {
        fakeTapKey(KeyP);
        runFor(FrameMs);
    }
};

TEST_F(Pause, TheClockStandsAndGoesOnFromWhereItStood)
{
    runFor(1500 + 1000);
    ASSERT_EQ(music.streamState.load(), Streaming);
    tapP();
    ASSERT_EQ(songPause.paused, 1);
    const int pausedAt = play.songTimeMs;
    EXPECT_NEAR(pausedAt, 1000, 20);
    const uint64_t framesAtPause = pcmPositionFrames(music.device);

    runFor(3000);
    EXPECT_EQ(play.songTimeMs, pausedAt) << "the song clock stands";
    EXPECT_EQ(pcmPositionFrames(music.device), framesAtPause) << "the music is not played on";

    tapP();
    EXPECT_EQ(songPause.paused, 0);
    EXPECT_GE(play.songTimeMs, pausedAt);
    EXPECT_LE(play.songTimeMs, pausedAt + 2 * int(FrameMs)) << "no jump on resume";
    runFor(500);
    EXPECT_NEAR(play.songTimeMs, pausedAt + 500, 25) << "and it runs at the music's pace again";
}

TEST_F(Pause, APauseInTheLeadInHoldsTheLeadIn)
{
    runFor(500);
    tapP();
    runFor(5000);
    tapP();
    runFor(800);
    EXPECT_EQ(music.streamState.load(), Primed) << "the lead-in still has 200 ms to go";
    runFor(300);
    EXPECT_EQ(music.streamState.load(), Streaming);
}

TEST_F(Pause, LosingTheKeyboardPausesAndEscapeLeavesAsInPlay)
{
    runFor(2000);
    WindowMessage lost;
    lost.kind = MessageKind::FocusLost;
    fakePostWindowMessage(lost);
    pumpWaitingMessages();
    runFor(FrameMs);
    EXPECT_EQ(songPause.paused, 1);

    fakeTapKey(KeyEscape);
    runFor(FrameMs);
    EXPECT_EQ(menu.state.load(), Title);
    EXPECT_EQ(songPause.paused, 0);
    EXPECT_EQ(music.device, 0) << "the music is closed";
}

// With an offset the song time is the heard music's time less the player's lateness.
TEST_F(Pause, TheAudioOffsetMovesTheSongClock)
{
    settings.audioOffsetMs.store(40);
    runFor(1500 + 1000);
    uint32_t heardMs = 0;
    ASSERT_TRUE(music.positionMs(heardMs));
    EXPECT_GT(heardMs, 900u);
    EXPECT_EQ(play.songTimeMs, int(heardMs) - 40);
}

} // namespace
