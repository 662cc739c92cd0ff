#pragma once
#include <cstdint>

// The one way a tap reaches the calibration, whatever made it (the space key; later a sung
// syllable): heardMs is the time of the tap on the calibration clock. A tap within half an
// interval of a measured click is recorded with its offset and the live median and spread follow;
// any other tap (during the count-in, long after the last click, past the record's room) is not.
void calibrationTap(uint32_t heardMs);
