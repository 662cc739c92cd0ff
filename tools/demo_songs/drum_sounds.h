#pragma once
// Drum sounds made from a swept sine and filtered noise, each added at a frame of the buffer.
#include <cstddef>

#include "dsp.h"
#include "stereo_buffer.h"

enum class Drum { Kick, Snare, ClosedHat, OpenHat, Crash };

void addDrum(StereoBuffer &buffer, size_t frame, Drum drum, double velocity, NoiseSource &noise);
