#pragma once
#include <cstdint>
// Dispatches waiting window messages while waiting at least ms milliseconds; runs at least once.
void pumpMessagesFor(uint32_t ms);
