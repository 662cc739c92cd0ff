#include "gfx/pause_overlay.h"

#include <GL/gl.h>

#include <cstring>

#include "gfx/draw_calls.h"
#include "gfx/text.h"
#include "rules/menu_state.h"
#include "rules/pause_state.h"

namespace {

constexpr const char *PauseWord = "PAUSE";
constexpr const char *PauseKeys = "P: RESUME   ESC: TITLE";

void drawCentredText(const FieldMetrics &m, const char *text, int glyphHeight, int advance, int y)
{
    const int length = static_cast<int>(std::strlen(text));
    drawText(glyphHeight, text, length, m.width / 2 - length * advance / 2, y, advance);
}

} // namespace

void drawPauseOverlay(const FrameContext &frame)
{
    if (frame.state != Play || !songPause.paused)
        return;
    const FieldMetrics &m = frame.metrics;
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4d(0.0, 0.0, 0.0, 0.6);
    float quad[8];
    centredQuad(1.0, m.aspect, quad);
    drawShape(GL_TRIANGLE_FAN, quad, 4);

    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4d(1.0, 1.0, 1.0, 1.0);
    drawCentredText(m, PauseWord, 32, 32, m.height / 2 - 40);
    drawCentredText(m, PauseKeys, 15, 10, m.height / 2 + 8);
}
