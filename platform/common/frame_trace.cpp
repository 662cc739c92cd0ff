#include "platform/frame_trace.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/timer.h"
#include "platform/trace.h"

namespace {
// More frames than a second holds even without pacing; the rest of a second goes uncounted.
constexpr int MaxFrames = 2048;

struct FrameWindow {
    bool started = false;
    uint32_t startMs = 0;
    uint64_t startSwitches = 0;
    int frames = 0;
    uint64_t workUs[MaxFrames] = {};
};

FrameWindow frameWindow;

uint64_t switchesOfTask(const std::string &statusPath)
{
    FILE *status = std::fopen(statusPath.c_str(), "r");
    if (status == nullptr)
        return 0; // the thread ended meanwhile
    uint64_t total = 0;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        unsigned long long count = 0;
        if (std::sscanf(line, "voluntary_ctxt_switches: %llu", &count) == 1 ||
            std::sscanf(line, "nonvoluntary_ctxt_switches: %llu", &count) == 1)
            total += count;
    }
    std::fclose(status);
    return total;
}

// Every time a thread of ours was put to sleep or off the CPU: each one is a later wake-up.
uint64_t processContextSwitches()
{
    DIR *tasks = opendir("/proc/self/task");
    if (tasks == nullptr)
        return 0;
    uint64_t total = 0;
    while (const dirent *task = readdir(tasks)) {
        if (task->d_name[0] != '.')
            total += switchesOfTask(std::string("/proc/self/task/") + task->d_name + "/status");
    }
    closedir(tasks);
    return total;
}

double percentileMs(uint64_t *workUs, int count, int percent)
{
    const int index = std::min(count - 1, count * percent / 100);
    std::nth_element(workUs, workUs + index, workUs + count);
    return double(workUs[index]) / 1000.0;
}

void startWindow(uint32_t nowMs)
{
    frameWindow.started = true;
    frameWindow.startMs = nowMs;
    frameWindow.startSwitches = processContextSwitches();
    frameWindow.frames = 0;
}
} // namespace

void traceFrameWork(uint64_t workUs)
{
    if (!traceEnabled())
        return;
    const uint32_t nowMs = timerNowMs();
    if (!frameWindow.started) {
        startWindow(nowMs);
        return;
    }
    if (frameWindow.frames < MaxFrames)
        frameWindow.workUs[frameWindow.frames] = workUs;
    frameWindow.frames++;
    const uint32_t elapsedMs = nowMs - frameWindow.startMs;
    if (elapsedMs < 1000)
        return;
    const uint64_t switches = processContextSwitches() - frameWindow.startSwitches;
    const int counted = std::min(frameWindow.frames, MaxFrames);
    const double p50 = percentileMs(frameWindow.workUs, counted, 50);
    const double p95 = percentileMs(frameWindow.workUs, counted, 95);
    trace("frames %d work_p50=%.2f work_p95=%.2f wakeups=%.0f", frameWindow.frames, p50, p95,
          double(switches) * 1000.0 / elapsedMs);
    startWindow(nowMs);
}
