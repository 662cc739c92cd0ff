#pragma once
#include <cstdint>

// Millisecond timer: unsigned 32-bit, wraps; compare times by unsigned differences.
uint32_t timerNowMs();
void timerSleepMs(uint32_t ms);
// Microseconds on a monotonic clock, for measuring how long work takes (not for the game's time).
uint64_t timerNowUs();
