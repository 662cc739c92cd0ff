#pragma once
// Which notes a frame has to look at. A note's height follows its distance from the song clock
// taken as a signed 32-bit difference, so notes timed before the clock's zero (a negative offset
// puts their times just below 2^32) still stand below the later ones. Along a chart whose times
// never step back, the distances rise with the index as long as none of them passes 2^31 - 1 and
// wraps to negative; the notes that can show then lie in one run of indices that bisection finds,
// and a frame costs the same for a short chart and a long one. Only a chart lasting 24.8 days or
// more (or a clock that far from its notes) can break that; then every note is looked at.
#include "gfx/field_geometry.h"
#include "library/chart.h"

// Indices first ... last of the notes that may show; empty when first > last.
struct NoteSpan {
    int first = 0;
    int last = -1;
    int slideFromBelow = -1; // the note below the span whose slide may cross the band, or -1
};

NoteSpan visibleNoteSpan(const Chart &chart, const ScrollRule &rule, const FieldMetrics &metrics);
