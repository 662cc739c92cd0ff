#pragma once
// The moving part of the play screen: measure lines, slide connectors and note heads.
#include "gfx/frame_context.h"

struct ChartNote;

void drawMeasureLines(const FrameContext &frame);

// Places the notes the frame reads, then draws the connectors and heads that can show in the
// band: the same picture as drawing every note of the chart.
void drawNotes(const FrameContext &frame);

// One head at the note's placed position: light while open, dark once taken.
void drawNoteHead(const ChartNote &note, const FieldMetrics &metrics);
