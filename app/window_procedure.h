#pragma once
#include "rules/screen_control.h"
#include "platform/window.h"

// Handles one window message on the main thread.
void windowProcedure(const WindowMessage &message);

// The window cannot be dragged narrower than its current client height or lower than 240 pixels.
void limitWindowShrinking();

// Loudness of each tone voice with the pointer at client row y: full over the upper 35/48 of the
// client area, fading to silence at the bottom edge, shared among the unison voices.
double voiceGainForPointer(int y, int clientHeight, int unison);

// The control (1..5) under client pixel (x, y), a later control winning over an earlier one; 0 for none.
int controlUnderPointer(int x, int y, int clientWidth, int clientHeight, const ScreenControl controls[5]);

// The key code a held control stands for (0 for none).
int controlCodeFor(int control);
