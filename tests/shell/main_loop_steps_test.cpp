#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "app/app_context.h"
#include "app/main_loop.h"
#include "app/run_application.h"
#include "app/window_procedure.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "platform/timer.h"
#include "recorded_subsystems.h"

using Steps = std::vector<std::string>;

// Before main, so the first trace line finds it.
static const bool traceOn = setenv("LUMATIDE_TRACE", "1", 1) == 0;

namespace {

void startFresh()
{
    resetAppContext();
    fakeResetPlatform();
    clearSteps();
}

struct FrameCase {
    GameState state;
    Steps expected;
};

TEST(MainLoopSteps, EachScreenRunsItsUpdatesInOrderThenDraws)
{
    // A credit total of 5000 counted up from 10 s before: shown in full wherever the count-up runs.
    const FrameCase cases[] = {
        {Select, {"updateMenus autoplay 0 shown 0", "renderFrame 640x480"}},
        {Play, {"updateMenus autoplay 1 shown 0", "updatePlay", "renderFrame 640x480"}},
        {Title, {"updateMenus autoplay 1 shown 5000", "renderFrame 640x480"}},
        {Result, {"updateMenus autoplay 1 shown 5000", "renderFrame 640x480"}},
    };
    for (const FrameCase &c : cases) {
        SCOPED_TRACE(c.state);
        startFresh();
        fakeSetTimeMs(20000);
        menu.state = c.state;
        menu.autoplay = 1;
        play.resultTime = 10000;
        credit.creditScore = 5000;
        runFrame();
        EXPECT_EQ(takenSteps(), c.expected);
    }
}

TEST(MainLoopSteps, FrameWaitIsOneMillisecondUnlessTheSwapNoLongerWaits)
{
    const struct {
        int swapControlMissing;
        uint32_t expectedMs;
    } cases[] = {{1, 1}, {0, 17}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.swapControlMissing);
        startFresh();
        fakeSetTimeMs(1000);
        shell.swapControlMissing = c.swapControlMissing;
        runFrame();
        EXPECT_EQ(timerNowMs() - 1000, c.expectedMs);
    }
}

// Frames whose update takes `workMs` of the timer, started on a fresh schedule; the time each
// frame's update ran.
std::vector<uint32_t> frameStarts(int frames, uint32_t workMs)
{
    startFresh();
    fakeSetTimeMs(5000);
    shell.swapControlMissing = 0;
    std::vector<uint32_t> starts;
    onUpdateMenus([&] {
        starts.push_back(timerNowMs());
        fakeAdvanceTimeMs(workMs);
    });
    for (int i = 0; i < frames; i++)
        runFrame();
    return starts;
}

TEST(MainLoopSteps, WithoutASwapThatWaitsFramesKeepSixtyASecondWhateverTheirWork)
{
    for (uint32_t workMs : {0u, 5u, 12u, 16u}) {
        SCOPED_TRACE(workMs);
        // The first frame starts the schedule; the 60 after it take a second.
        const std::vector<uint32_t> starts = frameStarts(62, workMs);
        EXPECT_EQ(starts[61] - starts[1], 1000u) << "60 frames did not take a second";
        for (size_t i = 1; i < starts.size(); i++)
            ASSERT_GE(starts[i] - starts[i - 1], 16u) << "frame " << i << " came early";
    }
}

TEST(MainLoopSteps, FramesThatOverrunNeverComeFasterThanSixtyASecond)
{
    for (uint32_t workMs : {17u, 20u, 40u}) {
        SCOPED_TRACE(workMs);
        const std::vector<uint32_t> starts = frameStarts(30, workMs);
        for (size_t i = 1; i < starts.size(); i++)
            ASSERT_GE(starts[i] - starts[i - 1], workMs) << "frame " << i;
    }
    // One long frame (a stall) is not made up by frames that follow it sooner.
    startFresh();
    fakeSetTimeMs(5000);
    shell.swapControlMissing = 0;
    std::vector<uint32_t> starts;
    onUpdateMenus([&] {
        starts.push_back(timerNowMs());
        fakeAdvanceTimeMs(starts.size() == 3 ? 30 : 2);
    });
    for (int i = 0; i < 10; i++)
        runFrame();
    for (size_t i = 1; i < starts.size(); i++)
        EXPECT_GE(starts[i] - starts[i - 1], 16u) << "frame " << i;
}

TEST(MainLoopSteps, FrameEndForgetsTapsNoScreenRead)
{
    startFresh();
    bool spaceSeen = false;
    onUpdateMenus([&] { spaceSeen = keyIsDown(KeySpace); });
    fakeTapKey(KeySpace);
    fakeTapKey(KeyEscape);
    runFrame();
    EXPECT_TRUE(spaceSeen);
    EXPECT_FALSE(keyIsDown(KeyEscape));
}

// The trace lines without their time stamps.
Steps traceLines(const std::string &text)
{
    Steps lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line.substr(line.find(' ') + 1));
    return lines;
}

TEST(MainLoopSteps, TraceNamesEachNewScreenAndTheQuit)
{
    ASSERT_TRUE(traceOn);
    startFresh();
    int frame = 0;
    onUpdateMenus([&] {
        frame++;
        if (frame == 1 || frame == 4)
            menu.state = Select;
        if (frame == 3)
            menu.state = Play;
        if (frame == 5)
            shell.quitRequested = 1;
    });
    testing::internal::CaptureStderr();
    runMainLoop();
    const std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(frame, 5);
    EXPECT_EQ(traceLines(trace), (Steps{"state Title", "state Select", "state Play", "state Select", "quit"})) << trace;
}

TEST(MainLoopSteps, QuitBeforeTheFirstFrameRunsNone)
{
    startFresh();
    shell.quitRequested = 1;
    runMainLoop();
    EXPECT_TRUE(takenSteps().empty());
}

TEST(MainLoopSteps, StartUpAndShutDownInOrder)
{
    startFresh();
    fakeSetTimeMs(4242);
    menu.state = Play;
    menu.autoplay = 1;
    play.gauge = 99.0;

    PlatformThread *voiceThreadHandle = startUp();

    EXPECT_EQ(takenSteps(),
              (Steps{"loadImageTexture font_l.png", "loadImageTexture wave.png", "startAudioOutput", "openVoices",
                     "loadSongList", "createTitleTexture", "createTitleTexture", "loadRanking", "saveRanking"}));
    EXPECT_EQ(menu.state.load(), Title);
    EXPECT_EQ(menu.autoplay, 0);
    EXPECT_EQ(play.phaseStartTime, 4242u);
    EXPECT_EQ(play.gauge, 20.0);
    EXPECT_EQ(shell.voiceThreadRunning.load(), 1);
    EXPECT_GE(shell.bufferLengthMs, 1);

    clearSteps();
    shutDown(voiceThreadHandle);

    // The voice thread has ended before the voices it feeds are closed.
    EXPECT_EQ(takenSteps(), (Steps{"saveRanking", "voiceThread ends", "MusicStream::close", "closeVoices",
                                   "stopAudioOutput", "releaseTitleTexture", "releaseTitleTexture"}));
    EXPECT_EQ(shell.voiceThreadRunning.load(), 0);
    EXPECT_EQ(gfx.fontTexture, 0u);
    EXPECT_EQ(gfx.waveTexture, 0u);
    EXPECT_TRUE(catalogue.songs.empty());
    EXPECT_TRUE(catalogue.titleTextures.empty());
    EXPECT_EQ(catalogue.songCount, 0);
}

TEST(MainLoopSteps, SizeAndPaintEachDrawAFrame)
{
    startFresh();
    WindowMessage message;
    message.kind = MessageKind::Size;
    message.width = 800;
    message.height = 600;
    windowProcedure(message);
    message.kind = MessageKind::Paint;
    windowProcedure(message);
    EXPECT_EQ(takenSteps(), (Steps{"renderFrame 800x600", "renderFrame 800x600"}));
}

} // namespace
