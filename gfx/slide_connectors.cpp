#include "gfx/slide_connectors.h"

#include "gfx/draw_calls.h"
#include "gfx/note_index.h"

// A linked note whose next note is missing (the chart's last) or is the spare record after the
// last note has nothing to connect to.
ChartNote *connectorEnd(Chart &chart, int i)
{
    const ChartNote &n = chart.notes[i];
    if (n.ghost != 0 || n.linked != 1 || i < chart.noteIndex - 10)
        return nullptr;
    const int next = noteIndexOf(chart, n.next);
    if (next < 0)
        return nullptr;
    ChartNote &m = chart.notes[next];
    return (m.state != NoteTaken || n.grade > 0) ? &m : nullptr;
}

ConnectorLook connectorLook(const Chart &chart, int i, const ChartNote &end)
{
    if (end.state == NoteClosed)
        return SlideEnded;
    if (chart.noteIndex == i + 1 || chart.notes[i].grade > 0)
        return SlideNow;
    return SlideAhead;
}

void connectorBand(const ChartNote &n, const ChartNote &m, const FieldMetrics &metrics, float band[8])
{
    const double hs = metrics.headHalfWidth;
    const double d = m.screenX > n.screenX   ? metrics.headHalfHeight
                     : m.screenX < n.screenX ? -metrics.headHalfHeight
                                             : 0.0;
    const double corners[8] = {n.screenX - hs, n.screenY + d, m.screenX - hs, m.screenY + d,
                               m.screenX + hs, m.screenY - d, n.screenX + hs, n.screenY - d};
    for (int i = 0; i < 8; i++)
        band[i] = static_cast<float>(corners[i]);
}

void drawConnector(const ChartNote &n, const ChartNote &m, ConnectorLook look, const FieldMetrics &metrics)
{
    static const float fanColours[3][4] = {{0.4f, 0.4f, 0.4f, 0.3f},
                                           {0.8f, 0.8f, 1.0f, 0.6f},
                                           {0.8f, 0.8f, 0.8f, 0.3f}};
    static const float outlineColours[3][4] = {{0.2f, 0.2f, 0.2f, 1.0f},
                                               {0.2f, 0.2f, 0.8f, 1.0f},
                                               {0.4f, 0.4f, 0.4f, 1.0f}};
    static const float centreColours[3][4] = {{0.1f, 0.1f, 0.1f, 0.7f},
                                              {0.2f, 0.2f, 0.8f, 0.7f},
                                              {0.2f, 0.2f, 0.2f, 0.7f}};

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
