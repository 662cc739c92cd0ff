#include "platform/core/voice_notice_message.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/window.h"

static bool insideClientArea(int x, int y)
{
    int width = 0, height = 0;
    SDL_GetWindowSize(sdlGameWindow(), &width, &height);
    return x >= 0 && y >= 0 && x < width && y < height;
}

static bool translateWindowEvent(const SDL_WindowEvent &event, WindowMessage &out)
{
    switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        out.kind = MessageKind::Size;
        out.width = event.data1;
        out.height = event.data2;
        return true;
    case SDL_WINDOWEVENT_EXPOSED:
        out.kind = MessageKind::Paint;
        return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        out.kind = MessageKind::FocusLost;
        return true;
    case SDL_WINDOWEVENT_CLOSE:
        out.kind = MessageKind::Destroy;
        return true;
    case SDL_WINDOWEVENT_MAXIMIZED:
        // X11 window managers offer maximize on every resizable window; the game's window has no
        // maximized state, so it goes straight back.
        SDL_RestoreWindow(sdlGameWindow());
        return false;
    default:
        return false;
    }
}

// Our message for the event; false for events the window procedure does not see.
static bool translateEvent(const SDL_Event &event, WindowMessage &out)
{
    out = WindowMessage{};
    switch (event.type) {
    case SDL_QUIT:
        out.kind = MessageKind::Destroy;
        return true;
    case SDL_WINDOWEVENT:
        return translateWindowEvent(event.window, out);
    case SDL_MOUSEMOTION:
        // While a button is held X11 keeps reporting the pointer outside the window; the game
        // only follows it over the client area.
        if (!insideClientArea(event.motion.x, event.motion.y))
            return false;
        out.kind = MessageKind::MouseMove;
        out.x = event.motion.x;
        out.y = event.motion.y;
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT)
            return false;
        out.kind = event.type == SDL_MOUSEBUTTONDOWN ? MessageKind::LeftButtonDown : MessageKind::LeftButtonUp;
        return true;
    default:
        return false;
    }
}

// A run of queued pointer moves is one move to the last position, as a desktop reports the pointer.
static void skipToLastMove(WindowMessage &move)
{
    SDL_Event next;
    while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
           next.type == SDL_MOUSEMOTION) {
        SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION);
        if (insideClientArea(next.motion.x, next.motion.y)) {
            move.x = next.motion.x;
            move.y = next.motion.y;
        }
    }
}

static bool takeSdlMessage(WindowMessage &out)
{
    if (sdlGameWindow() == nullptr)
        return false;
    // Reading the display on every take latches the keys (sdlLatchKeyEvents), however many voice
    // notices wait.
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        if (!translateEvent(event, out))
            continue;
        if (out.kind == MessageKind::MouseMove)
            skipToLastMove(out);
        return true;
    }
    return false;
}

bool windowTakeMessage(WindowMessage &out) { return takeSdlMessage(out) || takeVoiceNoticeMessage(out); }
