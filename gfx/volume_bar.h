#pragma once
#include "gfx/frame_context.h"

// For a second after a volume key: which volume and how loud, as a small bar at the top left.
void drawVolumeBar(const FrameContext &frame);
