#include "game/key_wait.h"

#include "platform/keys.h"
#include "platform/message_pump.h"

void waitForKeyRelease(int virtualKey, uint32_t pollMs)
{
    while (keyIsDown(virtualKey))
        pumpMessagesFor(pollMs);
}
