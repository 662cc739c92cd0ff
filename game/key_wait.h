#pragma once
#include <cstdint>

// Waits until the key is up, dispatching window messages between polls so the window stays
// responsive while the key is held.
void waitForKeyRelease(int virtualKey, uint32_t pollMs);
