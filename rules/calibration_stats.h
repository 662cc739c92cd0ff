#pragma once
// The arithmetic of the latency calibration: where a tap falls against the clicks, and what the
// offsets of many taps say about the player's latency.

// Index of the click nearest to tapMs among `count` clicks at firstClickMs, firstClickMs +
// intervalMs, ...; a tap exactly halfway between two clicks belongs to the earlier one.
int nearestClick(int tapMs, int firstClickMs, int intervalMs, int count);

// tapMs minus the heard time of the nearest click.
int tapOffsetMs(int tapMs, int firstClickMs, int intervalMs, int count);

// The middle value (the mean of the middle two for an even count); 0 for no values. The values
// may come in any order.
double medianOf(const int *values, int count);

// Median absolute deviation from the median: the spread, which one stray tap cannot pull far.
double medianAbsoluteDeviation(const int *values, int count);

// Whole milliseconds, halves away from zero.
int roundedMs(double ms);
