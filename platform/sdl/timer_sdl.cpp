#include "platform/timer.h"

uint32_t timerNowMs() { return 0; }
void timerSleepMs(uint32_t) {}
