#include <gtest/gtest.h>

#include <thread>

#include "app/app_context.h"
#include "platform/fake/fake_platform.h"
#include "platform/message_pump.h"
#include "platform/pcm.h"
#include "platform/timer.h"

namespace {

WindowMessage mouseMove(int x, int y)
{
    WindowMessage message;
    message.kind = MessageKind::MouseMove;
    message.x = x;
    message.y = y;
    return message;
}

struct PumpCase {
    const char *name;
    uint32_t startMs;
    uint32_t waitMs;
    int queued; // mouse moves posted before the pump, x = 1, 2, ...
    uint32_t expectedElapsed;
};

TEST(MessagePump, WaitsTheTimeAndDispatchesEveryWaitingMessage)
{
    const PumpCase cases[] = {
        {"zero still runs once", 1000, 0, 3, 1},
        {"one millisecond", 1000, 1, 40, 1},
        {"a frame", 1000, 17, 40, 17},
        {"empty queue only waits", 1000, 17, 0, 17},
        {"timer wrapping during the wait", 0xFFFFFFF8u, 17, 20, 17},
    };
    for (const PumpCase &c : cases) {
        SCOPED_TRACE(c.name);
        resetAppContext();
        fakeResetPlatform();
        fakeSetTimeMs(c.startMs);
        for (int i = 1; i <= c.queued; i++)
            fakePostWindowMessage(mouseMove(i, 10));
        pumpMessagesFor(c.waitMs);
        EXPECT_EQ(timerNowMs() - c.startMs, c.expectedElapsed);
        EXPECT_EQ(window.pointerX.load(), c.queued);
        WindowMessage left;
        EXPECT_FALSE(windowTakeMessage(left));
    }
}

// The voices' done notices come from the audio side; the window procedure hands each to its
// voice, whose ring state must keep up however many are waiting.
TEST(MessagePump, VoiceNoticesFromAnotherThreadReachTheirVoiceWithinOneStep)
{
    resetAppContext();
    fakeResetPlatform();
    PcmDevice device = 0;
    ASSERT_EQ(pcmOpen(&device, PcmFormat{1, 44100}, nullptr, nullptr), PcmOk);
    voices[1].device = device;
    PcmBuffer buffers[RingSlots];
    std::thread([&] {
        for (int slot = 0; slot < RingSlots; slot++) {
            buffers[slot].user = uintptr_t(slot);
            pcmWrite(device, &buffers[slot]);
        }
        pcmReset(device); // gives every buffer back, oldest first
    }).join();
    fakePostWindowMessage(mouseMove(200, 10));

    pumpMessagesFor(1);

    EXPECT_EQ(timerNowMs(), 1u);
    EXPECT_EQ(voices[1].ringDone.load(), RingSlots - 1);
    EXPECT_EQ(voices[0].ringDone.load(), 0);
    EXPECT_EQ(voices[2].ringDone.load(), 0);
    EXPECT_EQ(window.pointerX.load(), 200.0);
    PcmDevice from = 0;
    uintptr_t user = 0;
    EXPECT_FALSE(pcmTakeWindowNotice(&from, &user));
    pcmClose(device);
}

// A frame's wait is one sleep: waking every millisecond reads no key sooner and costs the process
// a wake-up each time.
TEST(MessagePump, WaitsInOneSleepAndDispatchesWhatCameMeanwhile)
{
    for (uint32_t waitMs : {1u, 5u, 17u}) {
        SCOPED_TRACE(waitMs);
        resetAppContext();
        fakeResetPlatform();
        fakeSetTimeMs(1000);
        fakePostWindowMessage(mouseMove(7, 10));
        pumpMessagesFor(waitMs);
        EXPECT_EQ(fakeSleepCount(), 1);
        EXPECT_EQ(timerNowMs(), 1000 + waitMs);
        EXPECT_EQ(window.pointerX.load(), 7.0);
    }
}

TEST(MessagePump, OffTheMainThreadOnlySleeps)
{
    resetAppContext();
    fakeResetPlatform();
    fakePostWindowMessage(mouseMove(99, 10));
    std::thread([] { pumpMessagesFor(5); }).join();
    EXPECT_EQ(timerNowMs(), 5u);
    EXPECT_EQ(window.pointerX.load(), 0.0);
    pumpMessagesFor(0);
    EXPECT_EQ(window.pointerX.load(), 99.0);
}

} // namespace
