#include "app/window_procedure.h"

#include <cmath>

#include "app/app_context.h"
#include "rules/control_layout.h"
#include "audio/voice_thread.h"
#include "gfx/render_frame.h"

constexpr int FieldMarginAfterResize = 20;
constexpr int MinimumClientHeight = 240;

double voiceGainForPointer(int y, int clientHeight, int unison)
{
    const int fadeTop = static_cast<int>(clientHeight * (35.0 / 48.0));
    double band = 1.0;
    // A pointer at or past the bottom edge is silent rather than negative.
    if (y >= fadeTop)
        band = clientHeight > fadeTop ? std::fmax(0.0, 1.0 - double(y - fadeTop) / (clientHeight - fadeTop)) : 0.0;
    return band / (2 * unison + 1);
}

int controlUnderPointer(int x, int y, int clientWidth, int clientHeight, const ScreenControl controls[5])
{
    const double halfWidth = clientWidth / 2;
    const double halfHeight = clientHeight / 2;
    // View units are half the client width on both axes, with y pointing up.
    const double unit = 0.5 * clientWidth;
    int hovered = ControlNone;
    for (int i = 0; i < 5; i++) {
        const ScreenControl &control = controls[i];
        if (std::fabs(x - (halfWidth + unit * control.centreX)) < unit * control.halfWidth &&
            std::fabs(y - (halfHeight - unit * control.centreY)) < unit * control.halfHeight)
            hovered = i + 1;
    }
    return hovered;
}

int controlCodeFor(int control)
{
    return control >= ControlNone && control <= ControlUnison ? ControlCodes[control] : CodeNone;
}

void limitWindowShrinking()
{
    windowSetMinimumSize(app.window.clientHeight.load(std::memory_order_relaxed), MinimumClientHeight);
}

static void onSize(int width, int height)
{
    // A minimised window reports width 0: keep the last layout until it comes back.
    if (width <= 0 || height <= 0)
        return;
    WindowState &window = app.window;
    window.clientWidth.store(width, std::memory_order_relaxed);
    window.clientHeight.store(height, std::memory_order_relaxed);
    window.aspect = double(height) / width;
    window.fieldMargin.store(FieldMarginAfterResize, std::memory_order_relaxed);
    resetControlLayout();
    limitWindowShrinking();
    renderFrame();
}

static void onMouseMove(int rawX, int rawY)
{
    WindowState &window = app.window;
    const int x = rawX & 0xFFFF;
    const int y = rawY & 0xFFFF;
    const int width = window.clientWidth.load(std::memory_order_relaxed);
    const int height = window.clientHeight.load(std::memory_order_relaxed);
    // In AUTOPLAY the play update steers the pointer; the mouse only hovers.
    if (!app.menu.autoplay) {
        window.pointerX.store(x, std::memory_order_relaxed);
        window.pointerY = y;
        window.voiceGain.store(voiceGainForPointer(y, height, app.menu.unison.load(std::memory_order_relaxed)),
                               std::memory_order_relaxed);
    }
    window.hoverControl = controlUnderPointer(x, y, width, height, window.controls);
}

void windowProcedure(const WindowMessage &message)
{
    switch (message.kind) {
    case MessageKind::Destroy:
        app.shell.quitRequested = 1;
        break;
    case MessageKind::Size:
        onSize(message.width, message.height);
        break;
    case MessageKind::Paint:
        renderFrame();
        break;
    case MessageKind::MouseMove:
        onMouseMove(message.x, message.y);
        break;
    case MessageKind::LeftButtonDown:
        if (app.window.hoverControl != ControlNone)
            app.window.controlCode = controlCodeFor(app.window.hoverControl);
        break;
    case MessageKind::LeftButtonUp:
        app.window.controlCode = 0;
        break;
    case MessageKind::VoiceBufferDone:
        onVoiceBufferDone(message.device, message.bufferUser);
        break;
    }
}
