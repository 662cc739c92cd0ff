#pragma once
// Shared between the files of the SDL backend only.
#include <SDL.h>

// The game window, or null before windowCreate and after windowDestroy.
SDL_Window *sdlGameWindow();
// SDL's event filter while the window exists. Key events go to the polled key state the moment
// SDL reads them from the display, in order with the focus changes, and are kept out of the
// queue, so keys never wait behind window messages. Returns 0 for the events it keeps out.
int sdlLatchKeyEvents(void *, SDL_Event *event);
