// The voice thread at work on its own thread: it sleeps while no voice sounds and wakes for a
// press, a returned buffer, a reset and the end of the run. The fake timer only moves when code
// sleeps on it, so a thread that polls on a clock shows up as time that moved.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "app/app_context.h"
#include "audio/voice_wake.h"
#include "audio_test_support.h"
#include "platform/fake/fake_platform.h"
#include "platform/thread.h"
#include "platform/timer.h"

namespace {

bool becomesTrueWithin(std::chrono::milliseconds limit, const std::function<bool()> &condition)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

int queuedSlots(const ToneVoice &voice)
{
    int queued = 0;
    for (const PcmBuffer &buffer : voice.buffers)
        queued += buffer.queued.load();
    return queued;
}

class VoiceWake : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppContext();
        fakeResetPlatform();
        startTestOutput();
        shell.bufferLengthMs = 20;
        openVoices();
        menu.state.store(Play);
        music.streamState.store(Streaming);
        window.pointerX.store(320.0);
        wakeVoicesOnPress(); // the last frame's key state: not held
        shell.voiceThreadRunning.store(1);
        thread = threadStart(voiceThread);
        ASSERT_NE(thread, nullptr);
    }
    void TearDown() override
    {
        shell.voiceThreadRunning.store(0);
        wakeVoiceThread();
        threadJoin(thread);
        closeVoices();
    }
    void press()
    {
        play.keyHeldFrames.store(1);
        wakeVoicesOnPress();
    }
    PlatformThread *thread = nullptr;
};

TEST_F(VoiceWake, SleepsWithoutATimerWhileNoVoiceSounds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(fakeSleepCount(), 0);
    EXPECT_EQ(timerNowMs(), 0u);
    EXPECT_EQ(voices[0].ringWrite.load(), 0);
}

TEST_F(VoiceWake, APressIsFedAtOnce)
{
    press();
    // The burst, and one more buffer if the thread's first pass came after the press.
    ASSERT_TRUE(becomesTrueWithin(std::chrono::seconds(2), [] { return queuedSlots(voices[0]) >= 5; }));
    EXPECT_EQ(fakeSleepCount(), 0) << "the burst waited for a pass of the clock";
}

TEST_F(VoiceWake, AReturnedBufferIsReplacedAndAReleaseIsSilenced)
{
    press();
    // Each woken pass tops the ring up by one until 7 are outstanding; then only a buffer that
    // came back wakes it to write the next.
    ASSERT_TRUE(becomesTrueWithin(std::chrono::seconds(2), [] {
        wakeVoiceThread();
        return voices[0].ringWrite.load() == 7;
    }));
    pullFrames(882 * 2);
    ASSERT_EQ(deliverVoiceNotices(), 2);
    EXPECT_TRUE(becomesTrueWithin(std::chrono::seconds(2), [] { return voices[0].ringWrite.load() == 8; }));

    play.keyHeldFrames.store(0);
    wakeVoicesOnPress();
    requestVoiceReset();
    EXPECT_TRUE(becomesTrueWithin(std::chrono::seconds(2),
                                  [] { return voices[0].resetRequested.load() == 0 && queuedSlots(voices[0]) == 0; }));
    EXPECT_EQ(fakeSleepCount(), 0);
}

} // namespace
