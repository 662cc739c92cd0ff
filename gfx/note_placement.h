#pragma once
// Where the notes stand this frame: screenY from the song clock, screenX from the pitch. A taken
// note keeps the column it was taken in. Only the notes that something reads this frame are
// placed; the rest keep their last position until they come near the band.
#include <cstdint>

#include "gfx/field_geometry.h"
#include "gfx/visible_note_span.h"
#include "library/chart.h"

// The scroll of the current song at the frame's size.
ScrollRule frameScrollRule(const FieldMetrics &metrics);

void placeNote(ChartNote &note, const ScrollRule &rule, const FieldMetrics &metrics);

// Places every note the frame reads: the notes of the span, the slide from below it, the far
// ends of the slides drawn from them, the judgement cursor's neighbours (AUTOPLAY steers by them,
// the pop-up and the link effect stand on them) and the notes whose hit effect still runs.
void placeNotesReadThisFrame(Chart &chart, const NoteSpan &span, const ScrollRule &rule, const FieldMetrics &metrics,
                             uint32_t nowMs);
