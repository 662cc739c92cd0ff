#pragma once
// Which notes still throw their hit effect. Grades only go to the note just before the judgement
// cursor, which never moves back, so grade times grow with the index and the effects that still
// run belong to the latest graded notes: the walk goes back from the cursor over the links (ghost
// notes are never graded), passes notes without a grade time (a MISS leaves none) and stops at
// the first older grade. The play update judges at most one note a frame and the main loop pumps
// messages for a millisecond between frames, so fewer than 256 notes can be judged within one
// effect's 200 ms.
#include <cstdint>

#include "gfx/field_effects.h"
#include "gfx/note_index.h"
#include "library/chart.h"

constexpr int RecentGradeWalkLimit = 256;

template <typename Visit>
void forEachNoteWithHitEffect(Chart &chart, uint32_t nowMs, Visit visit)
{
    if (chart.notes.size() <= chart.noteCount)
        return;
    const int cursor = chart.noteIndex < 0 ? 0 : chart.noteIndex > chart.noteCount ? chart.noteCount : chart.noteIndex;
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
