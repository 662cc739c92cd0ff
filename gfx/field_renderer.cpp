#include "gfx/field_renderer.h"

#include <cmath>
#include <vector>

#include "gfx/draw_calls.h"
#include "gfx/field_effects.h"
#include "gfx/hit_effect_notes.h"
#include "gfx/quad_batch.h"
#include "library/chart.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/song_scoring.h"
#include "rules/window_state.h"

// Opaque, so blending would only read back what it replaces.
void drawBackground()
{
    static const float colours[16] = {0.1f,  0.1f,  0.1f,  1.0f, 0.1f,  0.1f,  0.1f,  1.0f,
                                      0.45f, 0.45f, 0.45f, 1.0f, 0.45f, 0.45f, 0.45f, 1.0f};
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, colours);
    glDisable(GL_BLEND);
    fillUnitSquare();
    glEnable(GL_BLEND);
    glDisableClientState(GL_COLOR_ARRAY);
}

static void drawCubeFaces()
{
    const StaticGeometry &geometry = staticGeometry();
    for (const uint32_t *face : geometry.cubeFaces)
        glDrawElements(GL_LINE_LOOP, 4, GL_UNSIGNED_INT, face);
}

// A slow wire-frame cube that wanders on a circle, pulses on the beat and turns with the song; a
// second, counter-turning cube inside it grows as the gauge rises past the clear line.
void drawBackgroundCube(const FrameContext &frame)
{
    glEnable(GL_CULL_FACE);
    glPushMatrix();
    glVertexPointer(3, GL_FLOAT, 0, staticGeometry().cubeVertices);
    glColor4d(0.5, 0.5, 0.5, 0.4);
    const double pulse = (chart.msPerBeat != 0 && chart.measureIndex > 0) ? (1.0 - play.beatPhase) * 0.05 : 0.0;
    const double t = frame.nowMs / 10000.0;
    glTranslated(0.5 * std::sin(t), 0.5 * std::cos(t), 0.0);
    const double size = pulse + 0.2;
    glScaled(size, size, size);

    const double turn = static_cast<uint32_t>(play.songTimeMs) / 5000.0 * chart.bpm;
    glPushMatrix();
    glRotated(turn + 30.0, 1.0, 0.5, 0.0);
    drawCubeFaces();
    glPopMatrix();

    if (songCleared(play.gauge, chart.clearNorm) && chart.clearNorm < 1.0) {
        useAdditiveBlend();
        const double k = (play.gauge / 100.0 - chart.clearNorm) / (1.0 - chart.clearNorm);
        glColor4d(0.3, 0.3, 0.5, 0.2 * k);
        const double inner = 0.4 * k * (6.0 * pulse + 1.0);
        glScaled(inner, inner, inner);
        glRotated(30.0 - turn, 0.0, 1.0, 0.5);
        drawCubeFaces();
    }
    glPopMatrix();
    glDisable(GL_CULL_FACE);
}

void drawPointerBand(const FrameContext &frame)
{
    const FieldMetrics &m = frame.metrics;
    glPushMatrix();
    glColor4d(0.9, 0.9, 0.9, 0.2);
    glTranslated((window.pointerX.load(std::memory_order_relaxed) - m.half) / m.half, 0.0, 0.0);
    glScaled(static_cast<double>(m.halfSemitonePx) / m.width, 1.0, 0.0);
    fillUnitSquare();
    if (play.keyHeldFrames.load(std::memory_order_relaxed) != 0) {
        glColor4d(0.3, 0.5, 0.9, 0.1);
        glScaled(1.2, 1.0, 1.0);
        fillUnitSquare();
    }
    glPopMatrix();
}

// Each stripe adds 0.2 grey at alpha 0.1 twice over, except column -1, which adds it once (the frame
// used to draw that one first in black, adding nothing). On the 8-bit framebuffer 0.4 at alpha 0.1
// rounds to exactly twice what 0.2 adds and the sums saturate alike, so one pass of 0.4 gives
// every pixel of the two passes for half the fill. The model view keeps the tenfold height and the
// keyboard row; each stripe's corners carry its column.
void drawSemitoneStripes(const FrameContext &frame)
{
    const FieldMetrics &m = frame.metrics;
    float quad[8];
    centredQuad(m.stripeHalfWidth, m.stripeHalfHeight, quad);
    static std::vector<float> xy;
    xy.clear();
    for (int k = -1; k <= 25; k++) {
        if (!isStripeColumn(k))
            continue;
        const float x = static_cast<float>(columnX(m, k));
        for (int corner : {0, 1, 2, 0, 2, 3}) {
            xy.push_back(quad[2 * corner] + x);
            xy.push_back(quad[2 * corner + 1]);
        }
    }
    const int firstCount = 6; // column -1's two triangles
    glPushMatrix();
    glTranslated(0.0, m.keyboardY, 0.0);
    glScaled(1.0, 10.0, 1.0);
    glColor4d(0.2, 0.2, 0.2, 0.1);
    drawShape(GL_TRIANGLES, xy.data(), firstCount);
    glColor4d(0.4, 0.4, 0.4, 0.1);
    drawShape(GL_TRIANGLES, xy.data() + 2 * firstCount, static_cast<int>(xy.size() / 2) - firstCount);
    glPopMatrix();
}

// Every key filled, then every outline: a key's fill reaches no further into its neighbour than
// the neighbour's own outline, which is drawn over it again in the same grey.
void drawKeyboard(const FrameContext &frame)
{
    const FieldMetrics &m = frame.metrics;
    float quad[8];
    centredQuad(m.stripeHalfWidth, m.stripeHalfHeight, quad);
    static QuadBatch keys;
    clearQuadBatch(keys);
    const float y = static_cast<float>(m.keyboardY);
    for (int k = -1; k <= 25; k++) {
        const float x = static_cast<float>(columnX(m, k));
        const float grey = static_cast<float>(keyGrey(k));
        const float rgba[4] = {grey, grey, grey, static_cast<float>(keyAlpha(k))};
        addFill(keys, quad, x, y, rgba);
        addOutline(keys, quad, x, y);
    }
    drawFills(keys);
    glLineWidth(1.0f);
    glColor4d(0.3, 0.3, 0.3, 1.0);
    drawOutlines(keys);
}

void drawJudgementLine(const FrameContext &frame)
{
    glColor4d(0.7, 0.3, 0.3, judgementLineAlpha(chart.msPerBeat, chart.measureIndex, play.beatPhase));
    drawLine(-1.1, frame.metrics.judgeLineY, 1.1, frame.metrics.judgeLineY, 5.0f);
}

// A disc and its brighter core, both fans of the circle table.
static void drawDisc(double x, double y, double radius)
{
    glPushMatrix();
    glVertexPointer(2, GL_FLOAT, 0, staticGeometry().circleTable);
    glTranslated(x, y, 0.0);
    glScaled(radius, radius, 1.0);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 32);
    glScaled(0.5, 0.5, 1.0);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 32);
    glPopMatrix();
}

void drawHitEffects(const FrameContext &frame)
{
    forEachNoteWithHitEffect(chart, frame.nowMs, [&](const ChartNote &note) {
        const Disc disc = hitEffectDisc(frame.nowMs - note.gradeTime);
        useAdditiveBlend();
        glColor4d(0.35, 0.45, 0.85, disc.alpha);
        drawDisc(note.screenX, frame.metrics.judgeLineY, disc.radius);
        useNormalBlend();
    });
}

// The disc slides along the held slide and breathes with the beat.
void drawLinkEffect(const FrameContext &frame)
{
    const ChartNote *c = chart.currentNote;
    double x = 0.0;
    if (play.linkActive != 1 || c == nullptr || c->prev == nullptr || !linkEffectX(*c->prev, *c, play.songTimeMs, x))
        return;
    const double s = 0.2 + 0.08 * std::sin(2.0 * M_PI * play.beatPhase);
    useAdditiveBlend();
    glColor4d(0.35, 0.45, 0.85, 0.5 * s);
    drawDisc(x, frame.metrics.judgeLineY, s / 10.0 + 0.03);
    useNormalBlend();
}

// A blue sheet standing on the judgement line for two seconds after a full combo. A time of 0
// means no full combo, even in the first two seconds after the timer started.
void drawFullComboGlow(const FrameContext &frame)
{
    const uint32_t since = frame.nowMs - play.fullComboTime;
    if (play.fullComboTime == 0 || since >= 2000 || frame.state != Play)
        return;
    const GlowSheet sheet = fullComboGlow(since);
    const float a = sheet.alpha;
    const float colours[16] = {0.1f, 0.3f, 0.8f, a,    0.1f, 0.3f, 0.8f, a,
                               0.1f, 0.3f, 0.8f, 0.0f, 0.1f, 0.3f, 0.8f, 0.0f};
    useAdditiveBlend();
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, colours);
    glPushMatrix();
    glTranslated(0.0, sheet.halfHeight + frame.metrics.judgeLineY, 0.0);
    glScaled(1.0, sheet.halfHeight, 1.0);
    fillUnitSquare();
    glPopMatrix();
    glDisableClientState(GL_COLOR_ARRAY);
    useNormalBlend();
}
