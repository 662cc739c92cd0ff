#pragma once
#include "rules/screen_control.h"

// Places the five on-screen controls for the given height/width ratio.
void layoutControls(ScreenControl controls[5], double aspect);

// layoutControls on the global context's controls and aspect.
void resetControlLayout();
