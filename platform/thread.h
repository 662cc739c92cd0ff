#pragma once
#include <atomic>

struct PlatformThread;

// Runs body on a new thread with the default stack. Null when the thread could not be started.
PlatformThread *threadStart(void (*body)());
// Waits without time-out for the thread's end and frees its handle; a null thread is ignored.
void threadJoin(PlatformThread *thread);

// A wake-up call for one thread that sleeps until another has work for it. A call given while
// the sleeper is awake is kept for its next wait; calls given before it wakes count as one.
// Lock-free: giving never waits for the sleeper.
struct ThreadWake {
    std::atomic<int> given{0};
};
// Any thread.
void threadWakeGive(ThreadWake &wake);
// The one sleeping thread: returns at once when a call is waiting, else sleeps until one comes;
// takes the call.
void threadWakeTake(ThreadWake &wake);
