#pragma once
// The HUD over the field: the gauge, the header band of each screen, the select arrows and the
// wave-type and unison icons.
#include "gfx/frame_context.h"

// Where the header band of the current screen stands; false when the screen shows none.
bool headerBandY(const FrameContext &frame, double &y);

void drawGauge(const FrameContext &frame);
void drawHeaderBand(const FrameContext &frame);
void drawSelectArrows(const FrameContext &frame);
void drawControlIcons(const FrameContext &frame);
