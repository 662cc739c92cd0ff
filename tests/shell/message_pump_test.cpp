#include <gtest/gtest.h>

#include <thread>

#include "app/app_context.h"
#include "app/message_pump.h"
#include "platform/fake/fake_platform.h"
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
    int queued;              // mouse moves posted before the pump, x = 1, 2, ...
    uint32_t expectedElapsed;
    int expectedLastX;       // pointer x after the pump (0: none dispatched)
};

TEST(MessagePump, WaitsTheTimeAndDispatchesOneMessagePerStep)
{
    const PumpCase cases[] = {
        {"zero still runs once", 1000, 0, 3, 1, 1},
        {"one millisecond", 1000, 1, 3, 1, 1},
        {"a frame takes one message per step", 1000, 17, 40, 17, 17},
        {"fewer messages than steps", 1000, 17, 2, 17, 2},
        {"empty queue only waits", 1000, 17, 0, 17, 0},
        {"timer wrapping during the wait", 0xFFFFFFF8u, 17, 20, 17, 17},
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
        EXPECT_EQ(app.window.pointerX.load(), c.expectedLastX);
    }
}

TEST(MessagePump, DestroyRequestsTheQuit)
{
    resetAppContext();
    fakeResetPlatform();
    WindowMessage destroy;
    destroy.kind = MessageKind::Destroy;
    fakePostWindowMessage(destroy);
    pumpMessagesFor(1);
    EXPECT_EQ(app.shell.quitRequested, 1);
}

TEST(MessagePump, OffTheMainThreadOnlySleeps)
{
    resetAppContext();
    fakeResetPlatform();
    fakePostWindowMessage(mouseMove(99, 10));
    std::thread([] { pumpMessagesFor(5); }).join();
    EXPECT_EQ(timerNowMs(), 5u);
    EXPECT_EQ(app.window.pointerX.load(), 0.0);
    pumpMessagesFor(0);
    EXPECT_EQ(app.window.pointerX.load(), 99.0);
}

} // namespace
