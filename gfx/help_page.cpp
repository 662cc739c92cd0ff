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

const float Heading[4] = {1.0f, 0.9f, 0.5f, 1.0f};

void addKeys(HelpPageLayout &out)
{
    addRow(out, GlyphHeight, Advance, Heading, "KEYS");
    addRow(out, GlyphHeight, Advance, nullptr, "SPACE        HOLD TO SING / START A SONG");
    addRow(out, GlyphHeight, Advance, nullptr, "MOUSE        ACROSS: PITCH   UP AND DOWN: LOUDNESS");
    addRow(out, GlyphHeight, Advance, nullptr,
           LEFT_ARROW RIGHT_ARROW " " UP_ARROW "         CHOOSE A SONG / START IT IN AUTOPLAY");
    addRow(out, GlyphHeight, Advance, nullptr, "Z  SHIFT+Z   SCROLL SPEED UP / DOWN");
    addRow(out, GlyphHeight, Advance, nullptr, "W  E         WAVE TYPE / THREE-VOICE UNISON");
    addRow(out, GlyphHeight, Advance, nullptr, "V            MOUSE OR VOICE INPUT   ON TITLE AND SELECT");
    addRow(out, GlyphHeight, Advance, nullptr, "MINUS EQUALS MUSIC VOLUME DOWN / UP");
    addRow(out, GlyphHeight, Advance, nullptr, "[  ]         TONE VOLUME DOWN / UP");
    addRow(out, GlyphHeight, Advance, nullptr, "P  ESCAPE    PAUSE A SONG / GO BACK");
    addRow(out, GlyphHeight, Advance, nullptr, "F11          FULL SCREEN   ALSO ALT+ENTER");
    addRow(out, GlyphHeight, Advance, nullptr, "C  " RIGHT_ARROW "         ON THE TITLE: CALIBRATION / RANKING");
}

void addScreen(HelpPageLayout &out)
{
    addRow(out, GlyphHeight, Advance, Heading, "THE FIELD");
    addRow(out, GlyphHeight, Advance, nullptr, "BRIGHT BAND: YOUR PITCH   RED LINE: JUDGEMENT LINE");
    addRow(out, GlyphHeight, Advance, nullptr, "GAUGE AT THE BOTTOM: FILL IT PAST ITS MARK TO CLEAR");
}

void addRules(HelpPageLayout &out)
{
    addRow(out, GlyphHeight, Advance, Heading, "RULES");
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
    out.rowCount = 0;
    out.droppedRows = 0;
    addRow(out, GlyphHeight, Advance, Heading, "HELP - ANY KEY CLOSES THIS PAGE");
    addKeys(out);
    addScreen(out);
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
