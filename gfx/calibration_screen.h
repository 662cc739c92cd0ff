#pragma once
// The calibration screen over the field: the clicks heard so far, every tap as a dot on a
// -150..+150 ms scale with the median marked, the live figures and the keys.

struct FrameContext;

// View x of an offset on the scale; offsets past either end sit on that end.
double calibrationScaleX(double offsetMs);
// View y of the scale line and of the row of click lights.
double calibrationScaleY(double aspect);
double calibrationLightsY(double aspect);

void drawCalibrationScreen(const FrameContext &frame);
