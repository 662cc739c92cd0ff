// Tests pull the mixer themselves (pcmMixerPull in platform/core/pcm_mixer.h); the heard position
// moves on with the fake timer between their pulls.
#include "platform/fake/pcm_fake.h"

#include <atomic>

#include "platform/core/pcm_mixer.h"
#include "platform/pcm.h"
#include "platform/timer.h"

namespace {
std::atomic<bool> outputOpens{true};

uint64_t fakeClockUs() { return uint64_t(timerNowMs()) * 1000; }
} // namespace

void fakeSetPcmOutputOpens(bool opens) { outputOpens.store(opens, std::memory_order_relaxed); }

bool pcmStartOutput()
{
    pcmMixerStartOutput(0, fakeClockUs);
    return outputOpens.load(std::memory_order_relaxed);
}

void pcmStopOutput() {}
const char *pcmDriverName() { return outputOpens.load(std::memory_order_relaxed) ? "fake" : "silent"; }
int pcmOutputRate() { return PcmMixRate; }
int pcmOutputBufferFrames() { return 1024; }
