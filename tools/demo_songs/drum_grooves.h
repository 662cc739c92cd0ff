#pragma once
// What the drummer plays in one measure of a groove.
#include <vector>

#include "drum_sounds.h"
#include "song_sheet.h"

struct DrumHit {
    double beat; // quarter-note beats from the start of the measure
    Drum drum;
    double velocity;
};

std::vector<DrumHit> grooveHits(Groove groove, double beats);

// A crash marks the first measure of a new section.
bool startsSection(Groove groove, Groove previous);
