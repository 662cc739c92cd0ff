#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/core/pcm_mixer.h"

namespace {
std::atomic<bool> silentRunning{false};
std::thread silentThread;

void pullAtRealTimePace(int bufferFrames)
{
    using namespace std::chrono;
    std::vector<int16_t> sink(size_t(bufferFrames) * PcmMixChannels);
    const microseconds period(int64_t(bufferFrames) * 1000000 / PcmMixRate);
    steady_clock::time_point next = steady_clock::now();
    while (silentRunning.load(std::memory_order_acquire)) {
        pcmMixerPull(sink.data(), bufferFrames);
        next += period;
        // After a long suspension a real device would not play the lost time back at speed.
        next = std::max(next, steady_clock::now() - 4 * period);
        std::this_thread::sleep_until(next);
    }
}
} // namespace

void pcmStartSilentOutput(int bufferFrames)
{
    if (silentRunning.load(std::memory_order_relaxed))
        return;
    pcmMixerStartOutput(bufferFrames, pcmSteadyClockUs);
    silentRunning.store(true, std::memory_order_release);
    silentThread = std::thread(pullAtRealTimePace, bufferFrames);
}

void pcmStopSilentOutput()
{
    if (!silentRunning.load(std::memory_order_relaxed))
        return;
    silentRunning.store(false, std::memory_order_release);
    silentThread.join();
}
