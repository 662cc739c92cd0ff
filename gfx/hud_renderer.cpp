#include "gfx/hud_renderer.h"

#include <cmath>

#include "gfx/draw_calls.h"
#include "gfx/gfx_state.h"
#include "library/catalogue.h"
#include "library/chart.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/song_scoring.h"
#include "rules/window_state.h"

// A light strip across the bottom with the gauge bar; past the clear line the bar turns red, and
// an outline marks where the clear line lies.
void drawGauge(const FrameContext &frame)
{
    const double aspect = frame.metrics.aspect;
    glPushMatrix();
    glColor4d(0.95, 0.95, 0.95, 0.8);
    glTranslated(0.0, -0.91 * aspect, 0.0);
    glScaled(2.0, 0.1 * aspect, 1.0);
    fillUnitSquare();
    glColor4d(0.2, 0.2, 0.2, 0.8);
    outlineUnitSquare();
    glPopMatrix();

    const double gauge = play.gauge;
    const float g = static_cast<float>(2.0 * gauge / 100.0 - 1.0);
    const float clearX = static_cast<float>(2.0 * chart.clearNorm - 1.0);
    const float bar[8] = {-1.0f, -1.0f, g, -1.0f, g, 1.0f, -1.0f, 1.0f};
    const float cleared[8] = {clearX, -1.0f, g, -1.0f, g, 1.0f, clearX, 1.0f};
    const float belowClear[8] = {-1.0f, -1.0f, clearX, -1.0f, clearX, 1.0f, -1.0f, 1.0f};
    glPushMatrix();
    glTranslated(0.1, -0.9 * aspect, 0.0);
    glScaled(0.5, 0.04 * aspect, 1.0);
    glColor4d(0.65, 0.65, 0.65, 1.0);
    drawShape(GL_TRIANGLE_FAN, bar, 4);
    if (songCleared(gauge, chart.clearNorm)) {
        glColor4d(0.95, 0.45, 0.35, 1.0);
        drawShape(GL_TRIANGLE_FAN, cleared, 4);
    }
    glColor4d(0.2, 0.2, 0.2, 1.0);
    outlineUnitSquare();
    drawShape(GL_LINE_LOOP, belowClear, 4);
    glPopMatrix();
}

bool headerBandY(const FrameContext &frame, double &y)
{
    const double aspect = frame.metrics.aspect;
    switch (frame.state) {
    case Select:
        y = aspect - 0.3;
        return true;
    case Play: {
        // Rises into place during the first second of the song.
        const uint32_t e = frame.nowMs - play.playStartTime;
        const double rest = 1.0 - e / 1000.0;
        y = aspect - 0.05 - (e < 1000 ? 0.25 * rest * rest : 0.0);
        return true;
    }
    case Title:
        y = 0.5 * aspect;
        return !frame.rankingKeyDown;
    case Result: {
        // Drops into place within 200 ms.
        const uint32_t e = frame.nowMs - play.resultTime;
        const double rest = 1.0 - e / 200.0;
        y = 0.8 * aspect + (e < 200 ? 0.2 * aspect * rest * rest : 0.0);
        return true;
    }
    default:
        return false;
    }
}

void drawHeaderBand(const FrameContext &frame)
{
    double y = 0.0;
    if (!headerBandY(frame, y))
        return;
    glPushMatrix();
    glTranslated(0.0, y, 0.0);
    glScaled(1.0, 0.1, 1.0);
    glColor4d(0.8, 0.8, 0.8, 0.8);
    fillUnitSquare();
    glPopMatrix();
}

static void placeOnControl(const ScreenControl &control, double flipX)
{
    glTranslated(control.centreX, control.centreY, 0.0);
    glScaled(flipX * control.halfWidth, control.halfHeight, 1.0);
}

static void setOutlineColour(bool hovered)
{
    const double grey = hovered ? 0.9 : 0.3;
    glColor4d(grey, grey, grey, 0.8);
}

void drawSelectArrows(const FrameContext &frame)
{
    // With no songs there is nothing to page through.
    if (frame.state != Select || catalogue.songs.empty())
        return;
    static const float triangle[6] = {1.0f, 0.0f, -0.5f, 0.8660254f, -0.5f, -0.8660254f};
    glLineWidth(3.0f);
    for (int id : {ControlPreviousSong, ControlNextSong}) {
        const bool hovered = window.hoverControl == id;
        glPushMatrix();
        if (hovered)
            glColor4d(0.8, 0.4, 0.2, 0.7);
        else
            glColor4d(0.8, 0.8, 0.8, 0.5);
        placeOnControl(window.controls[id - 1], id == ControlPreviousSong ? -1.0 : 1.0);
        drawShape(GL_TRIANGLE_FAN, triangle, 3);
        setOutlineColour(hovered);
        drawShape(GL_LINE_LOOP, triangle, 3);
        glPopMatrix();
    }
    glLineWidth(1.0f);
}

// One cell of the icon strip: an eighth of its width, its full height, upright.
static void drawIcon(int controlId, int cell)
{
    const float s0 = 0.125f * cell;
    const float s1 = 0.125f * (cell + 1);
    const float coords[8] = {s0, 1.0f, s1, 1.0f, s1, 0.0f, s0, 0.0f};
    const bool hovered = window.hoverControl == controlId;
    glTexCoordPointer(2, GL_FLOAT, 0, coords);
    glPushMatrix();
    placeOnControl(window.controls[controlId - 1], 1.0);
    if (hovered)
        glColor4d(0.8, 0.4, 0.2, 0.9);
    else
        glColor4d(0.8, 0.8, 0.8, 0.9);
    fillUnitSquare();
    setOutlineColour(hovered);
    glDisable(GL_TEXTURE_2D);
    outlineUnitSquare();
    drawShape(GL_POINTS, unitSquare, 4);
    glPopMatrix();
    glEnable(GL_TEXTURE_2D);
}

void drawControlIcons(const FrameContext &frame)
{
    if (frame.state != Select && frame.state != Play)
        return;
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindTexture(GL_TEXTURE_2D, gfx.waveTexture);
    glLineWidth(3.0f);
    drawIcon(ControlWaveType, menu.waveType.load(std::memory_order_relaxed));
    drawIcon(ControlUnison, menu.unison.load(std::memory_order_relaxed) + 5);
    glLineWidth(1.0f);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}
