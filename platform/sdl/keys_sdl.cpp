#include "platform/keys.h"

#include "platform/core/key_latch.h"
#include "platform/sdl/sdl_backend.h"

static KeyLatch keys;

// The virtual-key code of the key with this layout meaning, 0 for keys the game never polls.
static int virtualKeyFromSdl(SDL_Keycode key)
{
    switch (key) {
    case SDLK_LEFT:
        return KeyLeft;
    case SDLK_UP:
        return KeyUp;
    case SDLK_RIGHT:
        return KeyRight;
    case SDLK_SPACE:
        return KeySpace;
    case SDLK_ESCAPE:
        return KeyEscape;
    case SDLK_c:
        return KeyC;
    case SDLK_e:
        return KeyE;
    case SDLK_v:
        return KeyV;
    case SDLK_w:
        return KeyW;
    case SDLK_z:
        return KeyZ;
    case SDLK_p:
        return KeyP;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return KeyEnter;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return KeyShift;
    case SDLK_LALT:
    case SDLK_RALT:
        return KeyAlt;
    case SDLK_F11:
        return KeyF11;
    case SDLK_MINUS:
        return KeyMinus;
    case SDLK_EQUALS:
        return KeyEquals;
    case SDLK_LEFTBRACKET:
        return KeyLeftBracket;
    case SDLK_RIGHTBRACKET:
        return KeyRightBracket;
    case SDLK_F1:
        return KeyF1;
    default:
        return 0;
    }
}

static void latchKeyEvent(const SDL_KeyboardEvent &event)
{
    const int virtualKey = virtualKeyFromSdl(event.keysym.sym);
    if (event.repeat)
        return;
    if (virtualKey == 0) {
        if (event.state == SDL_PRESSED)
            keyLatchPressOther(keys);
        return;
    }
    if (event.state == SDL_PRESSED)
        keyLatchPress(keys, virtualKey);
    else
        keyLatchRelease(keys, virtualKey);
}

int sdlLatchKeyEvents(void *, SDL_Event *event)
{
    switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        latchKeyEvent(event->key);
        return 0;
    case SDL_WINDOWEVENT:
        // The window lost the keyboard: held keys will send no key-up.
        if (event->window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            keyLatchReleaseAll(keys);
        return 1;
    default:
        return 1;
    }
}

uint16_t keyState(int virtualKey) { return keyLatchPoll(keys, virtualKey); }

bool keyAnyPressed() { return keyLatchTakeAnyPress(keys); }

void keysEndFrame() { keyLatchEndFrame(keys); }
