#pragma once
#include "library/chart.h"

// The index of a note of the chart, or -1 for a record outside the notes (the spare record after
// the last note, or none at all).
int noteIndexOf(const Chart &chart, const ChartNote *note);
