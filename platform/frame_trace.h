#pragma once
#include <cstdint>

// With the trace on (platform/trace.h), counts the frames and their work and, once a second,
// writes "frames <count> work_p50=<ms> work_p95=<ms> wakeups=<per second>": the wake-ups are the
// context switches of every thread of the process. Without the trace it does nothing.
void traceFrameWork(uint64_t workUs);
