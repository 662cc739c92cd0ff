#include "platform/timer.h"

#include <SDL.h>

uint32_t timerNowMs() { return SDL_GetTicks(); }

void timerSleepMs(uint32_t ms) { SDL_Delay(ms); }

uint64_t timerNowUs()
{
    static const uint64_t frequency = SDL_GetPerformanceFrequency();
    const uint64_t counter = SDL_GetPerformanceCounter();
    return counter / frequency * 1000000 + counter % frequency * 1000000 / frequency;
}
