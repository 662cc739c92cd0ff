#include "rules/window_state.h"

#include "rules/control_layout.h"

WindowState window;

WindowState::WindowState() { layoutControls(controls, aspect); }

void resetControlLayout() { layoutControls(window.controls, window.aspect); }
