#include "game/repeat_gate.h"

int countHeldFrames(int heldFrames, bool held)
{
    if (!held)
        return 0;
    return heldFrames < MaxHeldFrames ? heldFrames + 1 : heldFrames;
}

bool passRepeatGate(int heldFrames, uint32_t now, uint32_t &lastRepeatTime)
{
    if (heldFrames == 0 || now - lastRepeatTime <= RepeatIntervalMs)
        return false;
    lastRepeatTime = now;
    return true;
}
