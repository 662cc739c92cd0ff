// Tests pull the mixer themselves (pcmMixerPull in platform/core/pcm_mixer.h); the heard position
// moves on with the fake timer between their pulls.
#include "platform/core/pcm_mixer.h"
#include "platform/pcm.h"
#include "platform/timer.h"

namespace {
uint64_t fakeClockUs() { return uint64_t(timerNowMs()) * 1000; }
} // namespace

bool pcmStartOutput()
{
    pcmMixerStartOutput(0, fakeClockUs);
    return true;
}

void pcmStopOutput() {}
const char *pcmDriverName() { return "fake"; }
int pcmOutputRate() { return PcmMixRate; }
int pcmOutputBufferFrames() { return 1024; }
