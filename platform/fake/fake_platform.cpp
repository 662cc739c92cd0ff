#include "platform/fake/fake_platform.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/core/key_latch.h"
#include "platform/core/voice_notice_message.h"
#include "platform/keys.h"
#include "platform/timer.h"

namespace {
std::atomic<uint32_t> fakeNowMs{0};
KeyLatch keys;
std::mutex queueMutex;
std::deque<WindowMessage> queue;
FakeWindowRecord record;
bool swapIntervalAccepted = false;
} // namespace

void fakeSetTimeMs(uint32_t nowMs) { fakeNowMs.store(nowMs, std::memory_order_relaxed); }
void fakeAdvanceTimeMs(uint32_t ms) { fakeNowMs.fetch_add(ms, std::memory_order_relaxed); }

uint32_t timerNowMs() { return fakeNowMs.load(std::memory_order_relaxed); }

void timerSleepMs(uint32_t ms)
{
    fakeNowMs.fetch_add(ms, std::memory_order_relaxed);
    // A thread that sleeps in a loop must not starve the others of real CPU time.
    std::this_thread::yield();
}

void fakeSetKeyDown(int virtualKey, bool down)
{
    if (down)
        keyLatchPress(keys, virtualKey);
    else
        keyLatchRelease(keys, virtualKey);
}

void fakeTapKey(int virtualKey)
{
    keyLatchPress(keys, virtualKey);
    keyLatchRelease(keys, virtualKey);
}

uint16_t keyState(int virtualKey) { return keyLatchPoll(keys, virtualKey); }

void fakePostWindowMessage(const WindowMessage &message)
{
    std::lock_guard<std::mutex> lock(queueMutex);
    queue.push_back(message);
}

bool windowTakeMessage(WindowMessage &out)
{
    if (takeVoiceNoticeMessage(out))
        return true;
    std::lock_guard<std::mutex> lock(queueMutex);
    if (queue.empty())
        return false;
    out = queue.front();
    queue.pop_front();
    return true;
}

const FakeWindowRecord &fakeWindow() { return record; }
void fakeSetSwapIntervalAccepted(bool accepted) { swapIntervalAccepted = accepted; }

void fakeResetPlatform()
{
    fakeNowMs.store(0, std::memory_order_relaxed);
    keyLatchReleaseAll(keys);
    for (int key = 0; key < KeyLatch::KeyCount; key++)
        keyLatchPoll(keys, key);
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        queue.clear();
    }
    record = FakeWindowRecord{};
    swapIntervalAccepted = false;
}

bool windowCreate(const char *, int, int)
{
    record.created = true;
    return true;
}

bool windowSetSwapIntervalZero() { return swapIntervalAccepted; }
void windowShow() { record.shown = true; }
void windowSwapBuffers() { record.swapCount++; }

void windowSetMinimumSize(int width, int height)
{
    record.minimumWidth = width;
    record.minimumHeight = height;
}

void windowSetIcon(const uint8_t *, int width, int height)
{
    record.iconWidth = width;
    record.iconHeight = height;
}

void windowDestroy() { record.created = false; }

void showMessageBox(const char *text)
{
    record.messageBoxCount++;
    record.lastMessageBoxText = text;
}
