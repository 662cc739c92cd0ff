#include "platform/core/key_latch.h"

#include "platform/keys.h"

static bool isKnownKey(int virtualKey) { return virtualKey >= 0 && virtualKey < KeyLatch::KeyCount; }

void keyLatchPressOther(KeyLatch &latch) { latch.anyPressed.store(1, std::memory_order_relaxed); }

void keyLatchPress(KeyLatch &latch, int virtualKey)
{
    keyLatchPressOther(latch);
    if (!isKnownKey(virtualKey))
        return;
    latch.held[virtualKey].store(1, std::memory_order_relaxed);
    latch.pressedSincePoll[virtualKey].store(1, std::memory_order_relaxed);
}

void keyLatchRelease(KeyLatch &latch, int virtualKey)
{
    if (isKnownKey(virtualKey))
        latch.held[virtualKey].store(0, std::memory_order_relaxed);
}

void keyLatchReleaseAll(KeyLatch &latch)
{
    for (auto &held : latch.held)
        held.store(0, std::memory_order_relaxed);
}

void keyLatchEndFrame(KeyLatch &latch)
{
    for (auto &pressed : latch.pressedSincePoll)
        pressed.store(0, std::memory_order_relaxed);
    latch.anyPressed.store(0, std::memory_order_relaxed);
}

uint16_t keyLatchPoll(KeyLatch &latch, int virtualKey)
{
    if (!isKnownKey(virtualKey))
        return 0;
    const bool pressed = latch.pressedSincePoll[virtualKey].exchange(0, std::memory_order_relaxed) != 0;
    const bool held = latch.held[virtualKey].load(std::memory_order_relaxed) != 0;
    return pressed || held ? KeyDownBit : 0;
}

bool keyLatchTakeAnyPress(KeyLatch &latch) { return latch.anyPressed.exchange(0, std::memory_order_relaxed) != 0; }
