#pragma once
#include <cstdint>

constexpr int MaxHeldFrames = 30;
constexpr uint32_t RepeatIntervalMs = 200;

// Held-frame counter of a key: counts up to MaxHeldFrames while held, 0 once let go.
int countHeldFrames(int heldFrames, bool held);

// The one gate shared by every repeatable menu action: fires when the key is held and more than
// RepeatIntervalMs have passed since the last action of any of them, and then restamps the gate.
bool passRepeatGate(int heldFrames, uint32_t now, uint32_t &lastRepeatTime);
