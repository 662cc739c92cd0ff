#include "gfx/note_placement.h"

#include "gfx/hit_effect_notes.h"
#include "gfx/note_index.h"
#include "gfx/slide_connectors.h"
#include "library/chart.h"
#include "rules/menu_state.h"
#include "rules/note_column.h"
#include "rules/play_state.h"

ScrollRule frameScrollRule(const FieldMetrics &metrics)
{
    return ScrollRule{play.songTimeMs, chart.msPerBeat, menu.scrollSpeed, metrics.aspect};
}

void placeNote(ChartNote &note, const ScrollRule &rule, const FieldMetrics &metrics)
{
    note.screenY = scrollY(rule, note.timeMs);
    if (note.state != NoteTaken)
        note.screenX = noteColumnX(note, metrics.width, metrics.fieldMargin);
}

static void placeNoteAt(Chart &chart, int index, const ScrollRule &rule, const FieldMetrics &metrics)
{
    if (index >= 0 && index < chart.noteCount)
        placeNote(chart.notes[index], rule, metrics);
}

static void placeWithSlideEnd(Chart &chart, int index, const ScrollRule &rule, const FieldMetrics &metrics)
{
    placeNote(chart.notes[index], rule, metrics);
    if (ChartNote *end = connectorEnd(chart, index))
        placeNote(*end, rule, metrics);
}

void placeNotesReadThisFrame(Chart &chart, const NoteSpan &span, const ScrollRule &rule, const FieldMetrics &metrics,
                             uint32_t nowMs)
{
    for (int i = span.first; i <= span.last; i++)
        placeWithSlideEnd(chart, i, rule, metrics);
    if (span.slideFromBelow >= 0)
        placeWithSlideEnd(chart, span.slideFromBelow, rule, metrics);
    placeNoteAt(chart, chart.noteIndex - 1, rule, metrics);
    placeNoteAt(chart, chart.noteIndex, rule, metrics);
    if (chart.currentNote != nullptr)
        placeNoteAt(chart, noteIndexOf(chart, chart.currentNote->prev), rule, metrics);
    forEachNoteWithHitEffect(chart, nowMs, [&](ChartNote &note) { placeNote(note, rule, metrics); });
}
