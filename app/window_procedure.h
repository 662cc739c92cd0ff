#pragma once
#include "platform/window.h"

// Handles one window message on the main thread.
void windowProcedure(const WindowMessage &message);

// The window cannot be dragged narrower than its current client height or lower than 240 pixels.
void limitWindowShrinking();
