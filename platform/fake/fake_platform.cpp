#include "platform/fake/fake_platform.h"

#include <atomic>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/core/key_latch.h"
#include "platform/core/voice_notice_message.h"
#include "platform/keys.h"
#include "platform/timer.h"

namespace {
std::atomic<uint32_t> fakeNowMs{0};
std::atomic<int> sleeps{0};
KeyLatch keys;
std::atomic<uint16_t> rawKeyStates[KeyLatch::KeyCount] = {};
std::mutex queueMutex;
std::deque<WindowMessage> queue;
FakeWindowRecord record;
bool swapIntervalAccepted = false;
} // namespace

void fakeSetTimeMs(uint32_t nowMs) { fakeNowMs.store(nowMs, std::memory_order_relaxed); }
void fakeAdvanceTimeMs(uint32_t ms) { fakeNowMs.fetch_add(ms, std::memory_order_relaxed); }

uint32_t timerNowMs() { return fakeNowMs.load(std::memory_order_relaxed); }

uint64_t timerNowUs() { return uint64_t(timerNowMs()) * 1000; }

int fakeSleepCount() { return sleeps.load(std::memory_order_relaxed); }

void timerSleepMs(uint32_t ms)
{
    fakeNowMs.fetch_add(ms, std::memory_order_relaxed);
    sleeps.fetch_add(1, std::memory_order_relaxed);
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

void fakePressOtherKey() { keyLatchPressOther(keys); }

void fakeSetRawKeyState(int virtualKey, uint16_t state)
{
    if (virtualKey >= 0 && virtualKey < KeyLatch::KeyCount)
        rawKeyStates[virtualKey].store(state, std::memory_order_relaxed);
}

uint16_t keyState(int virtualKey)
{
    const uint16_t latched = keyLatchPoll(keys, virtualKey);
    if (virtualKey < 0 || virtualKey >= KeyLatch::KeyCount)
        return latched;
    const uint16_t raw = rawKeyStates[virtualKey].load(std::memory_order_relaxed);
    return raw != 0 ? raw : latched;
}

bool keyAnyPressed() { return keyLatchTakeAnyPress(keys); }

void keysEndFrame() { keyLatchEndFrame(keys); }

void fakePostWindowMessage(const WindowMessage &message)
{
    std::lock_guard<std::mutex> lock(queueMutex);
    queue.push_back(message);
}

static bool takePostedMessage(WindowMessage &out)
{
    std::lock_guard<std::mutex> lock(queueMutex);
    if (queue.empty())
        return false;
    out = queue.front();
    queue.pop_front();
    return true;
}

bool windowTakeMessage(WindowMessage &out) { return takePostedMessage(out) || takeVoiceNoticeMessage(out); }

const FakeWindowRecord &fakeWindow() { return record; }
void fakeSetSwapIntervalAccepted(bool accepted) { swapIntervalAccepted = accepted; }

void fakeResetPlatform()
{
    fakeNowMs.store(0, std::memory_order_relaxed);
    sleeps.store(0, std::memory_order_relaxed);
    keyLatchReleaseAll(keys);
    keyLatchEndFrame(keys);
    for (auto &raw : rawKeyStates)
        raw.store(0, std::memory_order_relaxed);
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        queue.clear();
    }
    record = FakeWindowRecord{};
    swapIntervalAccepted = false;
}

bool windowCreate(const char *, int, int) { return true; }
const char *windowVideoDriver() { return "fake"; }

bool windowSetSwapIntervalZero() { return swapIntervalAccepted; }
void windowShow() { record.shown = true; }
void windowSwapBuffers() {}

void windowSetMinimumSize(int width, int height)
{
    record.minimumWidth = width;
    record.minimumHeight = height;
}

void windowSetFullScreen(bool fullScreen) { record.fullScreen = fullScreen; }
void windowSetIcon(const uint8_t *, int, int) {}
void windowDestroy() {}
void showMessageBox(const char *text) { std::fprintf(stderr, "lumatide: %s\n", text); }
