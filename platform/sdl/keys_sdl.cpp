#include "platform/keys.h"

#include "platform/core/key_latch.h"
#include "platform/sdl/sdl_backend.h"

static KeyLatch keys;

// The virtual-key code of the key with this layout meaning, 0 for keys the game never polls.
static int virtualKeyFromSdl(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + (key - SDLK_0);
    switch (key) {
    case SDLK_LEFT: return KeyLeft;
    case SDLK_UP: return KeyUp;
    case SDLK_RIGHT: return KeyRight;
    case SDLK_DOWN: return KeyDown;
    case SDLK_SPACE: return KeySpace;
    case SDLK_ESCAPE: return KeyEscape;
    default: return 0;
    }
}

void sdlKeyEvent(const SDL_KeyboardEvent &event)
{
    const int virtualKey = virtualKeyFromSdl(event.keysym.sym);
    if (virtualKey == 0 || event.repeat)
        return;
    if (event.state == SDL_PRESSED)
        keyLatchPress(keys, virtualKey);
    else
        keyLatchRelease(keys, virtualKey);
}

void sdlKeysReleaseAll() { keyLatchReleaseAll(keys); }

uint16_t keyState(int virtualKey) { return keyLatchPoll(keys, virtualKey); }
