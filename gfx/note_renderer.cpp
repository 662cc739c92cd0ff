#include "gfx/note_renderer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gfx/band_reach.h"
#include "gfx/draw_calls.h"
#include "gfx/note_placement.h"
#include "gfx/quad_batch.h"
#include "gfx/slide_connectors.h"
#include "gfx/visible_note_span.h"
#include "library/chart.h"

void drawMeasureLines(const FrameContext &frame)
{
    const ScrollRule rule = frameScrollRule(frame.metrics);
    const int count = std::min<int>(chart.measureCount, static_cast<int>(chart.measureTimes.size()));
    glColor4d(0.9, 0.9, 0.9, 0.1);
    for (int j = chart.measureIndex - 1; j <= chart.measureIndex + 2; j++) {
        if (j >= 0 && j < count) {
            const double y = scrollY(rule, chart.measureTimes[j]);
            drawLine(-1.1, y, 1.1, y, 2.0f);
        }
    }
}

static void addNoteHead(QuadBatch &heads, const ChartNote &note, const float quad[8])
{
    const float grey = note.state != NoteTaken ? 0.95f : 0.35f;
    const float rgba[4] = {grey, grey, grey, 1.0f};
    const float x = static_cast<float>(note.screenX);
    const float y = static_cast<float>(note.screenY);
    addFill(heads, quad, x, y, rgba);
    addOutline(heads, quad, x, y);
}

static void drawNoteHeads(const QuadBatch &heads)
{
    drawFills(heads);
    glColor4d(0.2, 0.2, 0.2, 1.0);
    drawOutlines(heads);
}

void drawNoteHead(const ChartNote &note, const FieldMetrics &metrics)
{
    float quad[8];
    centredQuad(metrics.headHalfWidth, metrics.headHalfHeight, quad);
    static QuadBatch head;
    clearQuadBatch(head);
    addNoteHead(head, note, quad);
    drawNoteHeads(head);
}

// Heads are batched in runs that share no pixel: within a run the fills can all go before the
// outlines, since no head's fill reaches another's outline. A head near one already in the run
// (closer than the two heads plus a few pixels for the outlines) starts the next run.
static void drawVisibleNoteHeads(const NoteSpan &span, const FieldMetrics &metrics)
{
    float quad[8];
    centredQuad(metrics.headHalfWidth, metrics.headHalfHeight, quad);
    const double margin = 3.0 / metrics.half;
    const double apartX = 2.0 * metrics.headHalfWidth + margin;
    const double apartY = 2.0 * metrics.headHalfHeight + margin;
    static QuadBatch heads;
    static std::vector<const ChartNote *> run;
    clearQuadBatch(heads);
    run.clear();
    for (int i = span.last; i >= span.first; i--) {
        const ChartNote &note = chart.notes[i];
        if (note.ghost != 0 || !reachesBand(note.screenY, note.screenY, metrics))
            continue;
        const bool near = std::any_of(run.begin(), run.end(), [&](const ChartNote *other) {
            return std::fabs(other->screenX - note.screenX) < apartX &&
                   std::fabs(other->screenY - note.screenY) < apartY;
        });
        if (near) {
            drawNoteHeads(heads);
            clearQuadBatch(heads);
            run.clear();
        }
        addNoteHead(heads, note, quad);
        run.push_back(&note);
    }
    drawNoteHeads(heads);
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
    drawVisibleNoteHeads(span, metrics);
}
