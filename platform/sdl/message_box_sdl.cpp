#include <cstdio>

#include "platform/sdl/sdl_backend.h"
#include "platform/window.h"

void showMessageBox(const char *text)
{
    std::fprintf(stderr, "lumatide: %s\n", text);
    // No owner window and the plain caption of an error box.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", text, nullptr);
}
