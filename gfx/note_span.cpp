#include "gfx/note_span.h"

#include <algorithm>
#include <functional>

double noteReach(const FieldMetrics &metrics)
{
    // Four pixels cover the outline and the half of a 3-pixel slide line beyond the head.
    return metrics.headHalfHeight + 4.0 / metrics.half;
}

bool reachesBand(double y0, double y1, const FieldMetrics &metrics)
{
    const double reach = noteReach(metrics);
    const double low = std::min(y0, y1) - reach;
    const double high = std::max(y0, y1) + reach;
    return high >= -metrics.aspect && low <= metrics.aspect;
}

NoteSpan visibleNoteSpan(const Chart &chart, const ScrollRule &rule, const FieldMetrics &metrics)
{
    const int count = std::min<int>(chart.noteCount, static_cast<int>(chart.notes.size()));
    const double reach = noteReach(metrics);
    const ChartNote *begin = chart.notes.data();
    const ChartNote *end = begin + count;
    const ChartNote *first = std::partition_point(begin, end, [&](const ChartNote &note) {
        return scrollY(rule, note.timeMs) + reach < -metrics.aspect;
    });
    const ChartNote *pastLast = std::partition_point(first, end, [&](const ChartNote &note) {
        return scrollY(rule, note.timeMs) - reach <= metrics.aspect;
    });
    return NoteSpan{static_cast<int>(first - begin), static_cast<int>(pastLast - begin) - 1};
}

int noteIndexOf(const Chart &chart, const ChartNote *note)
{
    const ChartNote *begin = chart.notes.data();
    const std::less<const ChartNote *> before;
    if (before(note, begin) || !before(note, begin + chart.noteCount))
        return -1;
    return static_cast<int>(note - begin);
}
