#pragma once
// The quiet guide melody: a soft tone that plays the chart's notes, gliding through slides.
#include <vector>

#include "melody.h"
#include "stereo_buffer.h"

void addGuideMelody(StereoBuffer &buffer, const std::vector<MelodyNote> &notes, double velocity);
