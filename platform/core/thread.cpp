#include "platform/thread.h"

PlatformThread *threadStart(void (*)()) { return nullptr; }
void threadJoin(PlatformThread *) {}
