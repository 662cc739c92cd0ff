#pragma once
// Shared between the files of the SDL backend only.
#include <SDL.h>

// The game window, or null before windowCreate and after windowDestroy.
SDL_Window *sdlGameWindow();
// Feeds a key-down or key-up event to the polled key state.
void sdlKeyEvent(const SDL_KeyboardEvent &event);
// The window lost the keyboard: held keys will send no key-up.
void sdlKeysReleaseAll();
