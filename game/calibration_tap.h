#pragma once
#include <cstdint>

// The one way a tap reaches the calibration, whatever made it (the space key or a sung syllable):
// heardMs is the time of the tap on the calibration clock. A tap within half an interval of a
// measured click is recorded with its offset and the live median and spread follow; any other tap
// (during the count-in, long after the last click, past the record's room) is not.
void calibrationTap(uint32_t heardMs);

// In voice mode a sung syllable ("ta") is a tap too: every voice onset since the last call taps
// at the calibration clock `heardMs` less the capture's delay, the time it was sung. Called each
// frame of the calibration screen; the screen's opening takes the onsets sung before it as seen
// (forgetSungTaps).
void takeSungTaps(uint32_t heardMs);
