#include "platform/timer.h"

#include <SDL.h>

uint32_t timerNowMs() { return SDL_GetTicks(); }

void timerSleepMs(uint32_t ms) { SDL_Delay(ms); }
