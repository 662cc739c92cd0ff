#include "app/main_loop.h"

#include "game/menus.h"
#include "game/play_update.h"
#include "gfx/render_frame.h"
#include "platform/keys.h"
#include "platform/message_pump.h"
#include "platform/trace.h"
#include "rules/count_up.h"
#include "rules/menu_state.h"
#include "rules/shell_state.h"

static const char *stateName(int state)
{
    switch (state) {
    case Select: return "Select";
    case Play: return "Play";
    case Title: return "Title";
    case Result: return "Result";
    default: return "?";
    }
}

void runFrame()
{
    // Without swap control the buffer swap waits for the display; with it the wait paces frames.
    pumpMessagesFor(shell.swapControlMissing ? 1 : 17);
    switch (menu.state.load(std::memory_order_relaxed)) {
    case Select:
        menu.autoplay = 0;
        updateMenus();
        break;
    case Play:
        updateMenus();
        updatePlay();
        break;
    case Title:
    case Result:
        updateCreditCountUp();
        updateMenus();
        break;
    }
    renderFrame();
    keysEndFrame();
}

void runMainLoop()
{
    int tracedState = menu.state.load(std::memory_order_relaxed);
    trace("state %s", stateName(tracedState));
    while (!shell.quitRequested) {
        runFrame();
        const int state = menu.state.load(std::memory_order_relaxed);
        if (state != tracedState) {
            tracedState = state;
            trace("state %s", stateName(state));
        }
    }
    trace("quit");
}
