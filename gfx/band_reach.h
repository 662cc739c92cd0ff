#pragma once
// What can show in the visible band (y from -aspect to +aspect): culling tests against the band
// widened by what a note's drawing covers around its centre.
#include "gfx/field_geometry.h"

// Half the height of the strip around a note that its head, outline and slide lines can cover.
double noteReach(const FieldMetrics &metrics);

// True when a note or a slide drawn between heights y0 and y1 can show in the band.
bool reachesBand(double y0, double y1, const FieldMetrics &metrics);
