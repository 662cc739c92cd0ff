// The stand-in recording's own capture thread: it hands over each block once the block's last
// frame is due by its clock, as a device that records in real time would.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/core/mic_file.h"
#include "platform/thread.h"

namespace {

// Written by micFileStart before the thread starts and read by it alone until micFileStop.
MicRecording recording;
CaptureBlockCallback callback = nullptr;
void *instance = nullptr;
uint64_t (*paceClock)() = nullptr;
uint64_t originUs = 0; // the clock's time of output frame 0
PlatformThread *thread = nullptr;

std::atomic<bool> running{false};
std::atomic<int64_t> songStartFrame{-1};

int64_t framesDueNow()
{
    const uint64_t now = paceClock();
    return now > originUs ? int64_t(now - originUs) * recording.sampleRate / 1000000 : 0;
}

void feed()
{
    float block[CaptureMaxBlockFrames];
    int64_t delivered = 0;
    while (running.load(std::memory_order_acquire)) {
        const int64_t due = framesDueNow();
        while (delivered + CaptureMaxBlockFrames <= due) {
            micRecordingFill(recording, songStartFrame.load(std::memory_order_relaxed), delivered, block,
                             CaptureMaxBlockFrames);
            callback(instance, block, CaptureMaxBlockFrames);
            delivered += CaptureMaxBlockFrames;
        }
        // Half a block of sleep keeps the hand-over within a few ms of the block being due.
        std::this_thread::sleep_for(
            std::chrono::microseconds(int64_t(CaptureMaxBlockFrames) * 500000 / recording.sampleRate));
    }
}

} // namespace

void micRecordingFill(const MicRecording &source, int64_t songStart, int64_t firstFrame, float *out, int frames)
{
    const int64_t length = int64_t(source.samples.size());
    for (int i = 0; i < frames; i++) {
        const int64_t at = firstFrame + i - songStart;
        out[i] = songStart >= 0 && at >= 0 && at < length ? source.samples[size_t(at)] : 0.0f;
    }
}

bool micFileStart(MicRecording &&source, CaptureBlockCallback blockCallback, void *callbackInstance,
                  uint64_t (*clockUs)())
{
    micFileStop();
    recording = std::move(source);
    callback = blockCallback;
    instance = callbackInstance;
    songStartFrame.store(-1, std::memory_order_relaxed);
    paceClock = clockUs;
    originUs = paceClock();
    running.store(true, std::memory_order_release);
    thread = threadStart(feed);
    if (thread == nullptr)
        running.store(false, std::memory_order_relaxed);
    return thread != nullptr;
}

void micFileSongStart()
{
    if (running.load(std::memory_order_relaxed))
        songStartFrame.store(framesDueNow(), std::memory_order_relaxed);
}

void micFileStop()
{
    running.store(false, std::memory_order_release);
    threadJoin(thread);
    thread = nullptr;
}
