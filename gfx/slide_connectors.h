#pragma once
// The band drawn from a linked note to the note its slide leads to: when it is drawn, its shape
// and its colours.
#include "gfx/field_geometry.h"
#include "library/chart.h"

// The note that note i's slide leads to when a connector is drawn from it this frame, else null.
ChartNote *connectorEnd(Chart &chart, int i);

// Which column of the colour table a connector takes: its end cancelled or reached, the slide
// being played (or already graded), or a slide still to come.
enum ConnectorLook { SlideEnded = 0, SlideNow = 1, SlideAhead = 2 };
ConnectorLook connectorLook(const Chart &chart, int i, const ChartNote &end);

// The slide band from note n to note m: it joins the facing corners of the two heads, so it
// stays as wide as a head whichever way the slide leans.
void connectorBand(const ChartNote &n, const ChartNote &m, const FieldMetrics &metrics, float band[8]);

// The band, its outline and its centre line, from the placed positions of both notes.
void drawConnector(const ChartNote &n, const ChartNote &m, ConnectorLook look, const FieldMetrics &metrics);
