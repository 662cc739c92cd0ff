#pragma once

struct PlatformThread;

// Runs body on a new thread with the default stack. Null when the thread could not be started.
PlatformThread *threadStart(void (*body)());
// Waits without time-out for the thread's end and frees its handle; a null thread is ignored.
void threadJoin(PlatformThread *thread);
