#pragma once
// The moving part of the play screen: measure lines, slide connectors and note heads. Also
// writes screenX and screenY of the notes that anything reads this frame.
#include "gfx/frame_context.h"

struct ChartNote;

void drawMeasureLines(const FrameContext &frame);
void drawNotes(const FrameContext &frame);

// The slide band from note n to note m: it joins the facing corners of the two heads, so it
// stays as wide as a head whichever way the slide leans.
void connectorBand(const ChartNote &n, const ChartNote &m, const FieldMetrics &metrics, float band[8]);
