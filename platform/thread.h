#pragma once

struct PlatformThread;

PlatformThread *threadStart(void (*body)());
void threadJoin(PlatformThread *thread);
