// The audio threads at work together: the mixer pulled by its own thread at real-time pace, the
// voice thread feeding, the main thread refilling the music and handing notices to the voices.
// Run under ThreadSanitizer by scripts/tsan.sh.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app_context.h"
#include "audio/voice_thread.h"
#include "audio/voice_wake.h"
#include "audio_test_support.h"
#include "ogg_encode.h"
#include "platform/thread.h"

namespace {

TEST(AudioThreads, MusicEndsAndVoicesStayFedWhileEveryThreadRuns)
{
    resetAppContext();
    const TempFile song("threads.ogg");
    ASSERT_TRUE(encodeOgg(song.path, 2, 48000, sineSamples(2, 48000, 24000, 440.0))); // half a second

    pcmStartSilentOutput(256);
    openVoices();
    menu.state.store(Play);
    window.pointerX.store(320.0);
    shell.voiceThreadRunning.store(1);
    PlatformThread *voices = threadStart(voiceThread);
    ASSERT_NE(voices, nullptr);

    ASSERT_EQ(music.openFile(song.c_str()), 0);
    ASSERT_EQ(music.open(), 0);
    int notices = 0;
    uint32_t lastMs = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int frame = 0; music.refill() == 0 && std::chrono::steady_clock::now() < deadline; frame++) {
        uint32_t ms = 0;
        music.positionMs(ms);
        EXPECT_GE(ms, lastMs);
        lastMs = ms;
        // Hold the key, let go, switch unison now and then, as a player would.
        play.keyHeldFrames.store(frame % 40 < 30 ? 1 : 0);
        wakeVoicesOnPress();
        if (frame % 40 == 30)
            requestVoiceReset();
        menu.unison.store(frame / 50 % 2);
        notices += deliverVoiceNotices();
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
    }
    EXPECT_EQ(music.streamState.load(), Finished);
    EXPECT_NEAR(lastMs, 500, 30);
    EXPECT_GT(notices, 20);

    shell.voiceThreadRunning.store(0);
    wakeVoiceThread();
    threadJoin(voices);
    music.close();
    closeVoices();
    pcmStopSilentOutput();
}

} // namespace
