#pragma once
#include <cstdint>

// Dispatches every waiting window message, then sleeps 1 ms, until at least ms milliseconds have
// passed; runs at least once. Off the main thread it only sleeps: the window's messages belong
// to the main thread.
void pumpMessagesFor(uint32_t ms);
