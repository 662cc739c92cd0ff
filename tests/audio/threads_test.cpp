// The audio threads at work together: the mixer pulled by its own thread at real-time pace, the
// voice thread feeding, the main thread refilling the music and handing notices to the voices.
// Run under ThreadSanitizer by scripts/tsan.sh.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app_context.h"
#include "audio/voice_thread.h"
#include "audio_test_support.h"
#include "ogg_encode.h"
#include "platform/thread.h"

namespace {

TEST(AudioThreads, MusicEndsAndVoicesStayFedWhileEveryThreadRuns)
{
    resetAppContext();
    const TempFile song("threads.ogg");
    ASSERT_TRUE(encodeOgg(song.path, 2, 48000, sineSamples(2, 48000, 24000, 440.0)));   // half a second

    pcmStartSilentOutput(256);
    openVoices();
    app.menu.state.store(Play);
    app.window.pointerX.store(320.0);
    app.shell.voiceThreadRunning.store(1);
    PlatformThread *voices = threadStart(voiceThread);
    ASSERT_NE(voices, nullptr);

    ASSERT_EQ(app.music.openFile(song.c_str()), 0);
    ASSERT_EQ(app.music.open(), 0);
    int notices = 0;
    uint32_t lastMs = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int frame = 0; app.music.refill() == 0 && std::chrono::steady_clock::now() < deadline; frame++) {
        uint32_t ms = 0;
        app.music.positionMs(ms);
        EXPECT_GE(ms, lastMs);
        lastMs = ms;
        // Hold the key, let go, switch unison now and then, as a player would.
        app.play.keyHeldFrames.store(frame % 40 < 30 ? 1 : 0);
        if (frame % 40 == 30)
            requestVoiceReset();
        app.menu.unison.store(frame / 50 % 2);
        notices += deliverVoiceNotices();
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
    }
    EXPECT_EQ(app.music.streamState.load(), Finished);
    EXPECT_NEAR(lastMs, 500, 30);
    EXPECT_GT(notices, 20);

    app.shell.voiceThreadRunning.store(0);
    threadJoin(voices);
    app.music.close();
    closeVoices();
    pcmStopSilentOutput();
}

} // namespace
