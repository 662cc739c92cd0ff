#include "audio/voice_wake.h"

#include "platform/thread.h"
#include "rules/play_state.h"

namespace {
ThreadWake voiceWake;
} // namespace

void wakeVoiceThread() { threadWakeGive(voiceWake); }

void waitForVoiceWork() { threadWakeTake(voiceWake); }

void wakeVoicesOnPress()
{
    // Every press counts its first held frame as 1.
    if (play.keyHeldFrames.load(std::memory_order_relaxed) == 1)
        wakeVoiceThread();
}
