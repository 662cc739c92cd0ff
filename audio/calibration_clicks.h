#pragma once
// The clicks of the latency calibration. They play on a device of the same mixer as the music,
// so they reach the ear with the music's latency, and their heard position is counted exactly
// as the song clock counts the music's.
#include <cstdint>
#include <vector>

// The whole click track, mono at 44100 Hz: silence with the click of calibrationClickMs(i)
// starting on its very sample; the count-in clicks sound an octave below the measured ones.
std::vector<int16_t> calibrationClickSamples();

// Starts the track from its beginning (main thread); false when no device could be opened.
bool startCalibrationClicks();
// Milliseconds of the track heard so far; false when the track is not playing.
bool calibrationClicksHeardMs(uint32_t &outMs);
// Safe to call any number of times.
void stopCalibrationClicks();
