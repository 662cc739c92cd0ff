#pragma once
#include "gfx/frame_context.h"

// While the song stands still: the field dimmed, "PAUSE" and the keys that lead on.
void drawPauseOverlay(const FrameContext &frame);
