#include "gfx/pause_overlay.h"

#include <GL/gl.h>

#include "gfx/draw_calls.h"
#include "gfx/text_rows.h"
#include "rules/menu_state.h"
#include "rules/pause_state.h"

namespace {

constexpr const char *PauseWord = "PAUSE";
constexpr const char *PauseKeys = "P: RESUME   ESC: TITLE";

// Both rows centred on the window.
void drawPauseTexts(const FieldMetrics &m)
{
    TextRowList<2> texts;
    TextRow &word = addRow(texts, 32, 32, nullptr, "%s", PauseWord);
    word.x = centredX(m, word);
    word.y = m.height / 2 - 40;
    TextRow &keys = addRow(texts, 15, 10, nullptr, "%s", PauseKeys);
    keys.x = centredX(m, keys);
    keys.y = m.height / 2 + 8;
    drawTextRows(texts.rows, texts.rowCount);
}

} // namespace

void drawPauseOverlay(const FrameContext &frame)
{
    if (frame.state != Play || !songPause.paused)
        return;
    const FieldMetrics &m = frame.metrics;
    glColor4d(0.0, 0.0, 0.0, 0.6);
    coverFieldForText(m.aspect);
    drawPauseTexts(m);
}
