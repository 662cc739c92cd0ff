#pragma once
// The guide melody as timed notes: the same notes the chart holds, with the lengths the chart
// cannot express taken from the holds and silences of the sheet.
#include <vector>

#include "song_sheet.h"
#include "song_timing.h"

struct MelodyNote {
    double startMs;
    double endMs; // the next note's start, or the silence or song end that cuts it
    int pitch;    // semitones from C of chart octave 4
    bool linked;
    bool ghost;
};

std::vector<MelodyNote> melodyNotes(const SongSheet &sheet, const std::vector<MeasureSpan> &spans);
