#include "app/game_window.h"

#include <cstdlib>

#include "app/window_procedure.h"
#include "gfx/png_decoder.h"
#include "gfx/render_frame.h"
#include "platform/paths.h"
#include "platform/trace.h"
#include "platform/window.h"
#include "rules/shell_state.h"
#include "rules/window_state.h"

static void setWindowIcon()
{
    uint8_t *pixels = nullptr;
    int width = 0, height = 0;
    decodePng((contentDirectory() + "/img/icon.png").c_str(), &pixels, &width, &height);
    if (pixels == nullptr)
        return;
    windowSetIcon(pixels, width, height);
    std::free(pixels);
}

bool openGameWindow()
{
    if (!windowCreate("lumatide", window.clientWidth.load(), window.clientHeight.load()))
        return false;
    trace("video %s", windowVideoDriver());
    shell.swapControlMissing = windowSetSwapIntervalZero() ? 0 : 1;
    useWhiteClearColour();
    setWindowIcon();
    limitWindowShrinking();
    windowShow();
    return true;
}
