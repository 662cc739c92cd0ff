#pragma once
// Which notes a frame has to look at. Note times never decrease along a chart (every tempo is
// positive), so the notes that can show lie in one run of indices found by bisection, and a
// frame costs the same for a short chart and a long one.
#include <cstdint>

#include "gfx/field_geometry.h"
#include "library/chart.h"

// Indices first ... last of the notes whose heads may touch the visible band; empty when
// first > last.
struct NoteSpan {
    int first = 0;
    int last = -1;
};

// Half the height of the strip around a note that its head, outline and slide lines can cover.
double noteReach(const FieldMetrics &metrics);

NoteSpan visibleNoteSpan(const Chart &chart, const ScrollRule &rule, const FieldMetrics &metrics);

// True when something drawn between heights y0 and y1 can show in the band.
bool reachesBand(double y0, double y1, const FieldMetrics &metrics);

// The index of a note of the chart, or -1 for a record outside the notes (the spare record).
int noteIndexOf(const Chart &chart, const ChartNote *note);

// Grades only go to the note just before the judgement cursor, which never moves back, so grade
// times grow with the index and the notes whose hit effect still runs are the latest graded.
// The walk follows the links over ghost notes (which are never graded) and stops at the first
// older grade. The main loop pumps messages for a millisecond between judgements, so fewer than
// 256 notes can be judged within one effect's 200 ms.
constexpr uint32_t HitEffectMs = 200;
constexpr int RecentGradeWalkLimit = 256;

template <typename Visit>
void forEachNoteWithHitEffect(Chart &chart, uint32_t nowMs, uint32_t lastJudgementTime, Visit visit)
{
    if (nowMs - lastJudgementTime >= HitEffectMs || chart.notes.size() <= chart.noteCount)
        return;
    const int cursor = chart.noteIndex < 0 ? 0
                     : chart.noteIndex > chart.noteCount ? chart.noteCount : chart.noteIndex;
    ChartNote *note = chart.notes[cursor].prev;
    for (int steps = 0; note != nullptr && steps < RecentGradeWalkLimit; steps++) {
        const int index = noteIndexOf(chart, note);
        if (index < 0 || index >= cursor)
            return;
        if (note->gradeTime != 0) {
            if (nowMs - note->gradeTime >= HitEffectMs)
                return;
            visit(*note);
        }
        if (note->prev == note)
            return;
        note = note->prev;
    }
}
