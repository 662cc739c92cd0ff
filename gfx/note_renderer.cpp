#include "gfx/note_renderer.h"

#include <algorithm>

#include "gfx/band_reach.h"
#include "gfx/draw_calls.h"
#include "gfx/note_placement.h"
#include "gfx/slide_connectors.h"
#include "gfx/visible_note_span.h"
#include "library/chart.h"

void drawMeasureLines(const FrameContext &frame)
{
    const ScrollRule rule = frameScrollRule(frame.metrics);
    const int count = std::min<int>(chart.measureCount, static_cast<int>(chart.measureTimes.size()));
    glColor4d(0.9, 0.9, 0.9, 0.1);
    for (int j = chart.measureIndex - 1; j <= chart.measureIndex + 2; j++) {
        if (j >= 0 && j < count)
            drawHorizontalLine(-1.1, 1.1, scrollY(rule, chart.measureTimes[j]), 2.0f);
    }
}

void drawNoteHead(const ChartNote &note, const FieldMetrics &metrics)
{
    float quad[8];
    centredQuad(metrics.headHalfWidth, metrics.headHalfHeight, quad);
    glPushMatrix();
    glTranslated(note.screenX, note.screenY, 0.0);
    const double grey = note.state != NoteTaken ? 0.95 : 0.35;
    glColor4d(grey, grey, grey, 1.0);
    fillAndOutline(quad, 0.2);
    glPopMatrix();
}

static void drawConnectorIfShown(Chart &chart, int i, const FieldMetrics &metrics)
{
    const ChartNote *end = connectorEnd(chart, i);
    const ChartNote &n = chart.notes[i];
    if (end != nullptr && reachesBand(n.screenY, end->screenY, metrics))
        drawConnector(n, *end, connectorLook(chart, i, *end), metrics);
}

// Connectors and heads are drawn from the highest index down, so earlier notes lie on top; the
// slide from below the span has the lowest index of all and comes last.
void drawNotes(const FrameContext &frame)
{
    if (chart.notes.size() <= chart.noteCount)
        return;
    const FieldMetrics &metrics = frame.metrics;
    const ScrollRule rule = frameScrollRule(metrics);
    const NoteSpan span = visibleNoteSpan(chart, rule, metrics);
    placeNotesReadThisFrame(chart, span, rule, metrics, frame.nowMs);

    for (int i = span.last; i >= span.first; i--)
        drawConnectorIfShown(chart, i, metrics);
    if (span.slideFromBelow >= 0)
        drawConnectorIfShown(chart, span.slideFromBelow, metrics);
    for (int i = span.last; i >= span.first; i--) {
        const ChartNote &note = chart.notes[i];
        if (note.ghost == 0 && reachesBand(note.screenY, note.screenY, metrics))
            drawNoteHead(note, metrics);
    }
}
