#pragma once
#include <cstdint>

constexpr uint32_t LeadInMs = 1500;

// During the lead-in the wave-type and unison controls rise from their place beside the field
// to the top of the view.
double leadInControlY(uint32_t elapsedMs, double aspect);

// Position inside the current beat, 0 <= phase < 1, counted from `origin`; 0 without a tempo.
double beatPhaseAt(uint32_t t, uint32_t origin, uint32_t msPerBeat);

// Runs the lead-in with its rising controls, then takes the song clock from the music stream.
// Comes first in every frame of play: every rule after it reads the clock.
void advanceSongClock(uint32_t now);

// The beat phase for the pulsing field, then at most one measure further per frame.
void followBeatAndMeasures();
