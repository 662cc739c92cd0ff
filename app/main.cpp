#include <GL/gl.h>
#include <cstdlib>
#include <string>

#include "app/app_context.h"
#include "app/start_up.h"
#include "gfx/image_texture.h"
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

int main()
{
    if (!windowCreate("lumatide", app.window.clientWidth.load(), app.window.clientHeight.load()))
        return 1;
    app.shell.swapControlMissing = windowSetSwapIntervalZero() ? 0 : 1;
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    setWindowIcon();
    windowShow();
    runApplication();
    windowDestroy();
    return 0;
}
