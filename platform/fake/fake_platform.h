#pragma once
// Controls of the deterministic platform that tests link instead of SDL. Time only moves when a
// test moves it or when code sleeps (timerSleepMs advances the clock by the time slept), so a
// wait of any length takes no real time. Keys go through the same latch as the real backend.
#include <cstdint>

#include "platform/window.h"

void fakeSetTimeMs(uint32_t nowMs);
void fakeAdvanceTimeMs(uint32_t ms);
// How many times timerSleepMs was called since the last reset.
int fakeSleepCount();

// A key-down (true) or key-up (false) event.
void fakeSetKeyDown(int virtualKey, bool down);
// Pressed and released within the current frame.
void fakeTapKey(int virtualKey);
// A key-down of a key the game has no code for (such as X).
void fakePressOtherKey();
// The key reports exactly this 16-bit state, whatever its events say, until set back to 0: for
// states a real keyboard may report with only low bits set.
void fakeSetRawKeyState(int virtualKey, uint16_t state);

// Queued for windowTakeMessage, which takes these before any voice done notice.
void fakePostWindowMessage(const WindowMessage &message);

// What the code under test asked of the window.
struct FakeWindowRecord {
    bool shown = false;
    int minimumWidth = 0, minimumHeight = 0;
    bool fullScreen = false;
};
const FakeWindowRecord &fakeWindow();
// Whether windowSetSwapIntervalZero succeeds (it does not by default, as under Xvfb).
void fakeSetSwapIntervalAccepted(bool accepted);

// Time 0 and no sleep counted, every key up and no raw state, no queued message, a fresh window record.
void fakeResetPlatform();
