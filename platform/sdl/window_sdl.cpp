#include <cstdio>

#include "platform/sdl/sdl_backend.h"
#include "platform/window.h"

static SDL_Window *window = nullptr;
static SDL_GLContext glContext = nullptr;
static int windowedWidth = 0, windowedHeight = 0; // the client size before full screen

SDL_Window *sdlGameWindow() { return window; }

static void requestGlFormat()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
}

bool windowCreate(const char *title, int clientWidth, int clientHeight)
{
    // The click that activates the window also counts, as on-screen controls expect.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // SDL falls back to its offscreen driver when no display answers, which would leave a player
    // with a game running and no window; only drivers that show one, unless the user names another.
    if (SDL_getenv("SDL_VIDEODRIVER") == nullptr)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    // A display server that is busy starting or tearing down other clients can refuse a
    // connection for a moment: try a few times before giving up.
    for (int attempt = 1; SDL_InitSubSystem(SDL_INIT_VIDEO) != 0; attempt++) {
        if (attempt == 5) {
            std::fprintf(stderr, "lumatide: no display: %s\n", SDL_GetError());
            return false;
        }
        SDL_Delay(200);
    }
    requestGlFormat();
    SDL_SetEventFilter(sdlLatchKeyEvents, nullptr);
    window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, clientWidth, clientHeight,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        std::fprintf(stderr, "lumatide: cannot open the window: %s\n", SDL_GetError());
        SDL_SetEventFilter(nullptr, nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    glContext = SDL_GL_CreateContext(window);
    if (glContext == nullptr || SDL_GL_MakeCurrent(window, glContext) != 0) {
        std::fprintf(stderr, "lumatide: no OpenGL context: %s\n", SDL_GetError());
        windowDestroy();
        return false;
    }
    // Keys are polled, never typed: an input method must not take them first.
    SDL_StopTextInput();
    return true;
}

const char *windowVideoDriver()
{
    const char *driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr ? driver : "none";
}

bool windowSetSwapIntervalZero()
{
    if (SDL_GL_SetSwapInterval(0) == 0)
        return true;
    // Without any swap control (Xvfb, some remote displays) the interval reads 0 and a swap
    // returns at once, so the game must pace its frames itself as with interval 0.
    return SDL_GL_GetSwapInterval() == 0;
}

void windowShow()
{
    if (window != nullptr)
        SDL_ShowWindow(window);
}

void windowSwapBuffers()
{
    if (window != nullptr)
        SDL_GL_SwapWindow(window);
}

void windowSetMinimumSize(int width, int height)
{
    if (window != nullptr && width > 0 && height > 0)
        SDL_SetWindowMinimumSize(window, width, height);
}

void windowSetFullScreen(bool fullScreen)
{
    if (window == nullptr)
        return;
    // Without a window manager X11 never hands the window its old size back: ask for it.
    if (fullScreen && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == 0)
        SDL_GetWindowSize(window, &windowedWidth, &windowedHeight);
    if (SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::fprintf(stderr, "lumatide: cannot switch full screen: %s\n", SDL_GetError());
        return;
    }
    if (!fullScreen && windowedWidth > 0)
        SDL_SetWindowSize(window, windowedWidth, windowedHeight);
}

void windowSetIcon(const uint8_t *bgraPixels, int width, int height)
{
    if (window == nullptr || bgraPixels == nullptr || width <= 0 || height <= 0)
        return;
    SDL_Surface *icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t *>(bgraPixels), width, height, 32,
                                                           width * 4, SDL_PIXELFORMAT_BGRA32);
    if (icon == nullptr)
        return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

void windowDestroy()
{
    if (glContext != nullptr) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(glContext);
        glContext = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    SDL_SetEventFilter(nullptr, nullptr);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
