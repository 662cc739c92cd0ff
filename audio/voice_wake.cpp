#include "audio/voice_wake.h"

#include "platform/thread.h"
#include "rules/play_state.h"

namespace {
ThreadWake voiceWake;
bool heldLastFrame = false; // main thread only
} // namespace

void wakeVoiceThread() { threadWakeGive(voiceWake); }

void waitForVoiceWork() { threadWakeTake(voiceWake); }

void wakeVoicesOnPress()
{
    const bool held = play.keyHeldFrames.load(std::memory_order_relaxed) >= 1;
    if (held && !heldLastFrame)
        wakeVoiceThread();
    heldLastFrame = held;
}
