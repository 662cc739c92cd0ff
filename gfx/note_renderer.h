#pragma once
// The moving part of the play screen: measure lines, slide connectors and note heads. Also
// writes screenX and screenY of the notes that anything reads this frame.
#include "gfx/frame_context.h"

void drawMeasureLines(const FrameContext &frame);
void drawNotes(const FrameContext &frame);
