#include "gfx/help_page.h"

#include <GL/gl.h>
#include <algorithm>

#include "gfx/draw_calls.h"
#include "gfx/frame_context.h"
#include "rules/credit_state.h"
#include "rules/judgement_rules.h"
#include "rules/song_scoring.h"

namespace {

constexpr int GlyphHeight = 15;
constexpr int Advance = 11;
constexpr int LineStep = 19;
// The widest row, in glyphs: the block is centred on this width.
constexpr int BlockGlyphs = 56;
// Pixels kept clear at the window's edges.
constexpr int Border = 4;

// Rows that join a symbol's Shift-JIS pair to their text look like a missing comma to the checker.
// NOLINTBEGIN(bugprone-suspicious-missing-comma)
const char *const KeyRows[] = {
    "SPACE        HOLD TO SING / START A SONG",
    "MOUSE        ACROSS: PITCH   UP AND DOWN: LOUDNESS",
    LEFT_ARROW RIGHT_ARROW " " UP_ARROW "         CHOOSE A SONG / START IT IN AUTOPLAY",
    "Z  SHIFT+Z   SCROLL SPEED UP / DOWN",
    "W  E         WAVE TYPE / THREE-VOICE UNISON",
    "V            MOUSE OR VOICE INPUT   ON TITLE AND SELECT",
    "MINUS EQUALS MUSIC VOLUME DOWN / UP",
    "[  ]         TONE VOLUME DOWN / UP",
    "P  ESCAPE    PAUSE A SONG / GO BACK",
    "F11          FULL SCREEN   ALSO ALT+ENTER",
    "C  " RIGHT_ARROW "         ON THE TITLE: CALIBRATION / RANKING",
};
// NOLINTEND(bugprone-suspicious-missing-comma)

const char *const FieldRows[] = {
    "BRIGHT BAND: YOUR PITCH   RED LINE: JUDGEMENT LINE",
    "GAUGE AT THE BOTTOM: FILL IT PAST ITS MARK TO CLEAR",
};

// The cell size given here is a placeholder: layoutHelpPage sizes every row to the window.
template <int N>
void addSection(HelpPageLayout &out, const char *heading, const char *const (&rows)[N])
{
    addRow(out, GlyphHeight, Advance, GoldText, "%s", heading);
    for (const char *text : rows)
        addRow(out, GlyphHeight, Advance, nullptr, "%s", text);
}

void addRules(HelpPageLayout &out)
{
    addRow(out, GlyphHeight, Advance, GoldText, "RULES");
    addRow(out, GlyphHeight, Advance, nullptr, "GREAT WITHIN %u MS OF A NOTE   GOOD WITHIN %u MS",
           static_cast<unsigned>(GreatWindowMs), static_cast<unsigned>(GoodWindowMs));
    addRow(out, GlyphHeight, Advance, nullptr, "ON PITCH: WITHIN %.1f SEMITONE OF THE NOTE", PitchTolerance);
    addRow(out, GlyphHeight, Advance, nullptr, "A NOTE WANTS A FRESH PRESS OR A MOVING PITCH");
    addRow(out, GlyphHeight, Advance, nullptr, "A CREDIT IS %d STAGES   UPPER CASE NOTES ARE SLIDES", StagesPerCredit);
    const int perLevel = unlockThreshold(1) - unlockThreshold(2);
    addRow(out, GlyphHeight, Advance, nullptr, "EXTRA SONGS: SCORE %d OR MORE IN ONE STAGE", unlockThreshold(1));
    addRow(out, GlyphHeight, Advance, nullptr, "  ON A LEVEL 1 SONG   %d LESS FOR EACH LEVEL HIGHER", perLevel);
}

} // namespace

void layoutHelpPage(const FieldMetrics &m, HelpPageLayout &out)
{
    clearRows(out);
    addRow(out, GlyphHeight, Advance, GoldText, "HELP - ANY KEY CLOSES THIS PAGE");
    addSection(out, "KEYS", KeyRows);
    addSection(out, "THE FIELD", FieldRows);
    addRules(out);
    // A window smaller than the page gets smaller cells, so that every row stays on screen.
    const int rows = out.rowCount > 0 ? out.rowCount : 1;
    const int step = std::max(std::min(LineStep, (m.height - 2 * Border) / rows), 1);
    const int advance = std::max(std::min(Advance, (m.width - 2 * Border) / BlockGlyphs), 1);
    const int glyphHeight = std::min(GlyphHeight, step - (LineStep - GlyphHeight));
    const int left = m.width / 2 - BlockGlyphs * advance / 2;
    const int top = m.height / 2 - out.rowCount * step / 2;
    for (int i = 0; i < out.rowCount; i++) {
        out.rows[i].x = left;
        out.rows[i].y = top + i * step;
        out.rows[i].advance = advance;
        out.rows[i].glyphHeight = std::max(glyphHeight, 1);
    }
}

void drawHelpPage(const FrameContext &frame)
{
    HelpPageLayout layout;
    layoutHelpPage(frame.metrics, layout);
    // Opaque: any of the screen beneath showing between the rows reads as part of the page.
    glColor4d(0.05, 0.05, 0.1, 1.0);
    coverFieldForText(frame.metrics.aspect);
    drawTextRows(layout.rows, layout.rowCount);
}
