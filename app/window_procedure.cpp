#include "app/window_procedure.h"

#include "audio/voice_thread.h"
#include "gfx/render_frame.h"
#include "rules/control_layout.h"
#include "rules/menu_state.h"
#include "rules/pause_state.h"
#include "rules/settings_state.h"
#include "rules/shell_state.h"
#include "rules/voice_gain.h"
#include "rules/voice_mode_state.h"
#include "rules/window_state.h"

constexpr int FieldMarginAfterResize = 20;
constexpr int MinimumClientHeight = 240;

void limitWindowShrinking()
{
    windowSetMinimumSize(window.clientHeight.load(std::memory_order_relaxed), MinimumClientHeight);
}

static void onSize(int width, int height)
{
    // A minimised window reports width 0: keep the last layout until it comes back.
    if (width <= 0 || height <= 0)
        return;
    window.clientWidth.store(width, std::memory_order_relaxed);
    window.clientHeight.store(height, std::memory_order_relaxed);
    window.aspect = double(height) / width;
    window.fieldMargin.store(FieldMarginAfterResize, std::memory_order_relaxed);
    resetControlLayout();
    // A full-screen size as the floor would keep the window that large when it comes back.
    if (!settings.fullScreen)
        limitWindowShrinking();
    renderFrame();
}

static void onMouseMove(int rawX, int rawY)
{
    const int x = rawX & 0xFFFF;
    const int y = rawY & 0xFFFF;
    const int width = window.clientWidth.load(std::memory_order_relaxed);
    const int height = window.clientHeight.load(std::memory_order_relaxed);
    // In AUTOPLAY and while the voice plays, the play update steers the pointer; the mouse only hovers.
    if (!menu.autoplay && !voiceDrivesPlay()) {
        window.pointerX.store(x, std::memory_order_relaxed);
        window.pointerY = y;
        window.voiceGain.store(voiceGainForPointer(y, height, menu.unison.load(std::memory_order_relaxed)),
                               std::memory_order_relaxed);
    }
    window.hoverControl = controlUnderPointer(x, y, width, height, window.controls);
}

void windowProcedure(const WindowMessage &message)
{
    switch (message.kind) {
    case MessageKind::Destroy:
        shell.quitRequested = 1;
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
        if (window.hoverControl != ControlNone)
            window.controlCode = controlCodeFor(window.hoverControl);
        break;
    case MessageKind::LeftButtonUp:
        window.controlCode = 0;
        break;
    case MessageKind::FocusLost:
        // A player who switches away cannot play on: the next frame of play pauses the song.
        songPause.focusLost = 1;
        break;
    case MessageKind::VoiceBufferDone:
        onVoiceBufferDone(message.device, message.bufferUser);
        break;
    }
}
