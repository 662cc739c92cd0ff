#include "game/key_wait.h"

#include "app/message_pump.h"
#include "platform/keys.h"

void waitForKeyRelease(int virtualKey, uint32_t pollMs)
{
    while (keyIsDown(virtualKey))
        pumpMessagesFor(pollMs);
}
