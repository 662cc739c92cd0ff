#pragma once
// The scroll speeds Z cycles through: 1.0 to 4.0 in steps of 0.5.
constexpr double SlowestScrollSpeed = 1.0;
constexpr double FastestScrollSpeed = 4.0;
constexpr double ScrollSpeedStep = 0.5;

// One step faster (direction +1) or slower (-1), wrapping round at either end.
double steppedScrollSpeed(double speed, int direction);

// Whether speed is one of the cycle's values.
bool isScrollSpeed(double speed);
