#pragma once

// From the title: a fresh calibration whose clicks start at once.
void startCalibration();

// Once per frame on the calibration screen: the clicks heard, the space key's taps, and the way
// out (Enter saves the median as AudioOffset once there are enough taps; Escape saves nothing).
void updateCalibrationScreen();
