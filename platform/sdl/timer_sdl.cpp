#include "platform/timer.h"

#include <SDL.h>

#include "platform/core/pcm_mixer.h"

uint32_t timerNowMs() { return SDL_GetTicks(); }

void timerSleepMs(uint32_t ms) { SDL_Delay(ms); }

uint64_t timerNowUs() { return pcmSteadyClockUs(); }
