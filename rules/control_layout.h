#pragma once
#include "rules/screen_control.h"

// Places the five on-screen controls for the given height/width ratio.
void layoutControls(ScreenControl controls[5], double aspect);

// The control (1..5) under client pixel (x, y), a later control winning over an earlier one; 0 for none.
int controlUnderPointer(int x, int y, int clientWidth, int clientHeight, const ScreenControl controls[5]);

// The key code a held control stands for (0 for none).
int controlCodeFor(int control);
