#include "gfx/note_renderer.h"

#include <algorithm>

#include "app/app_context.h"
#include "gfx/draw_calls.h"
#include "gfx/note_span.h"

static ScrollRule frameScrollRule(const FrameContext &frame)
{
    return ScrollRule{app.play.songTimeMs, app.chart.msPerBeat, app.menu.scrollSpeed, frame.metrics.aspect};
}

void drawMeasureLines(const FrameContext &frame)
{
    const Chart &chart = app.chart;
    const ScrollRule rule = frameScrollRule(frame);
    const int count = std::min<int>(chart.measureCount, static_cast<int>(chart.measureTimes.size()));
    glColor4d(0.9, 0.9, 0.9, 0.1);
    for (int j = chart.measureIndex - 1; j <= chart.measureIndex + 2; j++) {
        if (j >= 0 && j < count)
            drawHorizontalLine(-1.1, 1.1, scrollY(rule, chart.measureTimes[j]), 2.0f);
    }
}

// Taken notes keep the column they were taken in.
static void placeNote(ChartNote &note, const ScrollRule &rule, const FieldMetrics &metrics)
{
    note.screenY = scrollY(rule, note.timeMs);
    if (note.state != 0)
        note.screenX = noteColumnX(note, metrics);
}

static void placeNoteAt(Chart &chart, int index, const ScrollRule &rule, const FieldMetrics &metrics)
{
    if (index >= 0 && index < chart.noteCount)
        placeNote(chart.notes[index], rule, metrics);
}

// Besides the visible notes: the cursor's neighbours (AUTOPLAY steers by them, the pop-up and the
// link effect stand on them) and the notes whose hit effect still runs.
static void placeNotesReadThisFrame(const FrameContext &frame, const NoteSpan &span, const ScrollRule &rule)
{
    Chart &chart = app.chart;
    const FieldMetrics &metrics = frame.metrics;
    for (int i = span.first; i <= span.last; i++)
        placeNote(chart.notes[i], rule, metrics);
    placeNoteAt(chart, chart.noteIndex - 1, rule, metrics);
    placeNoteAt(chart, chart.noteIndex, rule, metrics);
    if (chart.currentNote != nullptr)
        placeNoteAt(chart, noteIndexOf(chart, chart.currentNote->prev), rule, metrics);
    forEachNoteWithHitEffect(chart, frame.nowMs, app.play.lastJudgementTime,
                             [&](ChartNote &note) { placeNote(note, rule, metrics); });
}

void connectorBand(const ChartNote &n, const ChartNote &m, const FieldMetrics &metrics, float band[8])
{
    const double hs = metrics.headHalfWidth;
    const double d = m.screenX > n.screenX ? metrics.headHalfHeight
                   : m.screenX < n.screenX ? -metrics.headHalfHeight : 0.0;
    const double corners[8] = {n.screenX - hs, n.screenY + d, m.screenX - hs, m.screenY + d,
                               m.screenX + hs, m.screenY - d, n.screenX + hs, n.screenY - d};
    for (int i = 0; i < 8; i++)
        band[i] = static_cast<float>(corners[i]);
}

enum ConnectorLook { SlideEnded = 0, SlideNow = 1, SlideAhead = 2 };

static void drawConnector(const ChartNote &n, const ChartNote &m, ConnectorLook look, const FieldMetrics &metrics)
{
    static const float fanColours[3][4] = {{0.4f, 0.4f, 0.4f, 0.3f}, {0.8f, 0.8f, 1.0f, 0.6f}, {0.8f, 0.8f, 0.8f, 0.3f}};
    static const float outlineColours[3][4] = {{0.2f, 0.2f, 0.2f, 1.0f}, {0.2f, 0.2f, 0.8f, 1.0f}, {0.4f, 0.4f, 0.4f, 1.0f}};
    static const float centreColours[3][4] = {{0.1f, 0.1f, 0.1f, 0.7f}, {0.2f, 0.2f, 0.8f, 0.7f}, {0.2f, 0.2f, 0.2f, 0.7f}};

    float band[8];
    connectorBand(n, m, metrics, band);
    const float centre[4] = {static_cast<float>(n.screenX), static_cast<float>(n.screenY),
                             static_cast<float>(m.screenX), static_cast<float>(m.screenY)};

    glColor4fv(fanColours[look]);
    drawShape(GL_TRIANGLE_FAN, band, 4);
    glColor4fv(outlineColours[look]);
    glLineWidth(1.0f);
    drawShape(GL_LINE_LOOP, band, 4);
    glColor4fv(centreColours[look]);
    glLineWidth(3.0f);
    drawShape(GL_LINES, centre, 2);
    glLineWidth(1.0f);
    glColor4d(0.0, 0.0, 0.0, 1.0);
}

// A linked note whose next note is missing (the chart's last) or is the spare record after the
// last note has nothing to connect to.
static void drawConnectorFrom(int i, const ScrollRule &rule, const FieldMetrics &metrics)
{
    Chart &chart = app.chart;
    ChartNote &n = chart.notes[i];
    if (n.ghost != 0 || n.linked != 1 || i < chart.noteIndex - 10)
        return;
    const int next = noteIndexOf(chart, n.next);
    if (next < 0)
        return;
    ChartNote &m = chart.notes[next];
    if (!(m.state >= 1 || n.grade > 0))
        return;
    placeNote(m, rule, metrics);
    if (!reachesBand(n.screenY, m.screenY, metrics))
        return;
    const ConnectorLook look = m.state == 2 ? SlideEnded
                             : (chart.noteIndex == i + 1 || n.grade > 0) ? SlideNow : SlideAhead;
    drawConnector(n, m, look, metrics);
}

static void drawNoteHead(const ChartNote &note, const float *headQuad)
{
    glPushMatrix();
    glTranslated(note.screenX, note.screenY, 0.0);
    const double grey = note.state >= 1 ? 0.95 : 0.35;
    glColor4d(grey, grey, grey, 1.0);
    drawShape(GL_TRIANGLE_FAN, headQuad, 4);
    glColor4d(0.2, 0.2, 0.2, 1.0);
    drawShape(GL_LINE_LOOP, headQuad, 4);
    glPopMatrix();
}

// Connectors and heads are drawn from the highest index down, so earlier notes lie on top.
void drawNotes(const FrameContext &frame)
{
    Chart &chart = app.chart;
    if (chart.notes.size() <= chart.noteCount)
        return;
    const FieldMetrics &metrics = frame.metrics;
    const ScrollRule rule = frameScrollRule(frame);
    const NoteSpan span = visibleNoteSpan(chart, rule, metrics);
    placeNotesReadThisFrame(frame, span, rule);

    for (int i = span.last; i >= span.first; i--)
        drawConnectorFrom(i, rule, metrics);
    // The one slide that can cross the band from a note below it.
    const int below = noteIndexOf(chart, chart.notes[span.first].prev);
    if (below >= 0 && below < span.first) {
        placeNote(chart.notes[below], rule, metrics);
        drawConnectorFrom(below, rule, metrics);
    }

    const float hs = static_cast<float>(metrics.headHalfWidth);
    const float nh = static_cast<float>(metrics.headHalfHeight);
    const float headQuad[8] = {-hs, -nh, hs, -nh, hs, nh, -hs, nh};
    for (int i = span.last; i >= span.first; i--) {
        if (chart.notes[i].ghost == 0)
            drawNoteHead(chart.notes[i], headQuad);
    }
}
