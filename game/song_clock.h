#pragma once
#include <cstdint>

#include "library/chart.h"

constexpr uint32_t LeadInMs = 1500;

// During the lead-in the wave-type and unison controls rise from their place beside the field
// to the top of the view.
double leadInControlY(uint32_t elapsedMs, double aspect);

// Position inside the current beat, 0 <= phase < 1, counted from `origin`; 0 without a tempo.
double beatPhaseAt(uint32_t t, uint32_t origin, uint32_t msPerBeat);

// Start of the measure the clock is in; before the first measure is reached, the first measure's
// start, so the phase already lines up with the chart's beats.
uint32_t beatOrigin(const Chart &chart);

// Step 1 of the play update: runs the lead-in, then takes the song clock from the music stream.
void advanceSongClock(uint32_t now);

// Steps 2 and 4: the beat phase, then at most one measure further per frame.
void followBeatAndMeasures();
