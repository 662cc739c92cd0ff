#include "gfx/visible_note_span.h"

#include <algorithm>

#include "gfx/band_reach.h"
#include "gfx/note_index.h"

namespace {

// How the note times of a chart go, worked out once per chart. The parser refills the same
// storage for every song, so a chart is told from the one before by its storage, its count and
// the times of nine notes spread over it (every note of a short chart).
constexpr int SampledNotes = 9;

struct TimeSteps {
    const ChartNote *notes = nullptr;
    int count = 0;
    uint32_t sampledMs[SampledNotes] = {};
    bool neverBack = false; // every step to the next note is a signed 32-bit difference >= 0
    int64_t totalMs = 0;    // the steps added up
};

bool sameChart(const TimeSteps &known, const ChartNote *notes, int count)
{
    if (known.notes != notes || known.count != count)
        return false;
    for (int k = 0; k < SampledNotes; k++) {
        if (known.sampledMs[k] != notes[(count - 1) * k / (SampledNotes - 1)].timeMs)
            return false;
    }
    return true;
}

const TimeSteps &timeStepsOf(const ChartNote *notes, int count)
{
    static TimeSteps known;
    if (sameChart(known, notes, count))
        return known;
    known = TimeSteps{};
    known.notes = notes;
    known.count = count;
    for (int k = 0; k < SampledNotes; k++)
        known.sampledMs[k] = notes[(count - 1) * k / (SampledNotes - 1)].timeMs;
    known.neverBack = true;
    for (int i = 1; i < count; i++) {
        const int32_t step = static_cast<int32_t>(notes[i].timeMs - notes[i - 1].timeMs);
        if (step < 0) {
            known.neverBack = false;
            break;
        }
        known.totalMs += step;
    }
    return known;
}

// True when every note's distance from the clock is the first note's plus the steps up to it,
// without a wrap: no step back, and the last note's distance stays below 2^31. Heights rise with
// the distance (the scroll speed is positive).
bool heightsRiseAlongChart(const ChartNote *notes, int count, int songTimeMs)
{
    const TimeSteps &steps = timeStepsOf(notes, count);
    const int32_t firstDistance = static_cast<int32_t>(notes[0].timeMs - static_cast<uint32_t>(songTimeMs));
    return steps.neverBack && firstDistance + steps.totalMs <= INT32_MAX;
}

// A slide joins a note to the next non-ghost note, so the one slide that can cross the band from
// below leaves from the last non-ghost note before the span: the prev of the span's first record.
int slideFromBelow(const Chart &chart, int first)
{
    if (first >= static_cast<int>(chart.notes.size()))
        return -1;
    const int below = noteIndexOf(chart, chart.notes[first].prev);
    return below < first ? below : -1;
}

} // namespace

NoteSpan visibleNoteSpan(const Chart &chart, const ScrollRule &rule, const FieldMetrics &metrics)
{
    const int count = std::min<int>(chart.noteCount, static_cast<int>(chart.notes.size()));
    if (count == 0)
        return NoteSpan{};
    const ChartNote *begin = chart.notes.data();
    if (!heightsRiseAlongChart(begin, count, rule.songTimeMs))
        return NoteSpan{0, count - 1, -1};
    const double reach = noteReach(metrics);
    const ChartNote *end = begin + count;
    const ChartNote *first = std::partition_point(begin, end, [&](const ChartNote &note) {
        return scrollY(rule, note.timeMs) + reach < -metrics.aspect;
    });
    const ChartNote *pastLast = std::partition_point(first, end, [&](const ChartNote &note) {
        return scrollY(rule, note.timeMs) - reach <= metrics.aspect;
    });
    const int firstIndex = static_cast<int>(first - begin);
    return NoteSpan{firstIndex, static_cast<int>(pastLast - begin) - 1, slideFromBelow(chart, firstIndex)};
}
