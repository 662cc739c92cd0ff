#include "gfx/render_frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "gfx/calibration_screen.h"
#include "gfx/draw_calls.h"
#include "gfx/field_renderer.h"
#include "gfx/gfx_state.h"
#include "gfx/help_page.h"
#include "gfx/hud_renderer.h"
#include "gfx/note_renderer.h"
#include "gfx/pause_overlay.h"
#include "gfx/screen_texts.h"
#include "gfx/voice_overlay.h"
#include "gfx/volume_bar.h"
#include "platform/keys.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "rules/help_state.h"
#include "rules/menu_state.h"
#include "rules/window_state.h"

// One view unit is half the client width; y grows upward from the middle.
static void use2DView()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.0, 0.0, 1.0);
}

static void useCubeView()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(100.0, 1.0, 0.1, 10.0);
    gluLookAt(0.0, -1.0, 0.5, 0.0, 0.0, 0.0, 0.0, 1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

static FrameContext frameContext(const FrameInput &input)
{
    FrameContext frame;
    frame.nowMs = input.nowMs;
    frame.rankingKeyDown = input.rankingKeyDown;
    frame.state = menu.state.load(std::memory_order_relaxed);
    frame.metrics = fieldMetrics(window.clientWidth.load(std::memory_order_relaxed),
                                 window.clientHeight.load(std::memory_order_relaxed),
                                 window.fieldMargin.load(std::memory_order_relaxed), window.aspect);
    return frame;
}

static void layerDrawn(const char *layer)
{
    if (gfx.layerDrawn != nullptr)
        gfx.layerDrawn(layer);
}

void drawFrame(const FrameInput &input)
{
    const FrameContext frame = frameContext(input);
    const FieldMetrics &m = frame.metrics;
    // The background's opaque square, as wide as the client, covers a client at least as wide as
    // it is tall: clearing first would change no pixel. Nothing tests depth.
    if (m.half < 1 || m.width < m.height)
        glClear(GL_COLOR_BUFFER_BIT);
    layerDrawn("clear");
    // A minimised window has no width to lay anything out in.
    if (m.half < 1)
        return;
    glViewport(0, (m.height - m.width) / 2, m.width, m.width);

    use2DView();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnable(GL_BLEND);
    useNormalBlend();
    drawBackground();
    layerDrawn("background");

    useCubeView();
    drawBackgroundCube(frame);
    layerDrawn("cube");

    use2DView();
    useAdditiveBlend();
    drawPointerBand(frame);
    drawVoiceTrail(frame);
    layerDrawn("pointer");
    drawSemitoneStripes(frame);
    layerDrawn("stripes");
    useNormalBlend();

    if (frame.state == Play) {
        drawMeasureLines(frame);
        layerDrawn("measures");
        drawNotes(frame);
        layerDrawn("notes");
    }
    drawJudgementPopup(frame);
    layerDrawn("popup");
    drawKeyboard(frame);
    layerDrawn("keyboard");
    drawJudgementLine(frame);
    drawHitEffects(frame);
    drawLinkEffect(frame);
    layerDrawn("line+effects");

    drawGauge(frame);
    drawHeaderBand(frame);
    drawSelectArrows(frame);
    drawControlIcons(frame);
    drawVoiceMeter(frame);
    drawFullComboGlow(frame);
    layerDrawn("hud");
    drawScreenTexts(frame);
    layerDrawn("texts");
    if (frame.state == Calibrate) {
        drawCalibrationScreen(frame);
        layerDrawn("calibration");
    }
    drawPauseOverlay(frame);
    drawVolumeBar(frame);
    if (help.shown != 0) {
        drawHelpPage(frame);
        layerDrawn("help");
    }

    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glColor4d(0.0, 0.0, 0.0, 1.0);
}

void useWhiteClearColour() { glClearColor(1.0f, 1.0f, 1.0f, 1.0f); }

void renderFrame()
{
    drawFrame(FrameInput{timerNowMs(), keyIsDown(KeyRight)});
    glFlush();
    windowSwapBuffers();
}
