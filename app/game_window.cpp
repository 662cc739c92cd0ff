#include "app/game_window.h"

#include <GL/gl.h>
#include <cstdlib>

#include "app/app_context.h"
#include "platform/trace.h"
#include "app/window_procedure.h"
#include "gfx/png_decoder.h"
#include "platform/paths.h"
#include "platform/window.h"

static void setWindowIcon()
{
    uint8_t *pixels = nullptr;
    int width = 0, height = 0;
    decodePng((exeDirectory() + "/img/icon.png").c_str(), &pixels, &width, &height);
    if (pixels == nullptr)
        return;
    windowSetIcon(pixels, width, height);
    std::free(pixels);
}

bool openGameWindow()
{
    if (!windowCreate("lumatide", app.window.clientWidth.load(), app.window.clientHeight.load()))
        return false;
    trace("video %s", windowVideoDriver());
    app.shell.swapControlMissing = windowSetSwapIntervalZero() ? 0 : 1;
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    setWindowIcon();
    limitWindowShrinking();
    windowShow();
    return true;
}
