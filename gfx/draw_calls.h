#pragma once
// The few GL calls every layer repeats: 2D shapes from client-side arrays and the two blend modes.
#include <GL/gl.h>

// Points the vertex array at pairs of floats and draws count of them.
void drawShape(GLenum mode, const float *xy, int count);
// The rectangle around the origin, bottom corners first.
void centredQuad(double halfWidth, double halfHeight, float quad[8]);
// The unit square as a fan or a line loop.
void fillUnitSquare();
void outlineUnitSquare();
// A line from (x0, y0) to (x1, y1) of the given width; the width goes back to 1 afterwards.
void drawLine(double x0, double y0, double x1, double y1, float width);
// The axis-aligned rectangle between two corners, as a fan (filled) or a line loop (outlined).
void drawRectangle(GLenum mode, double left, double bottom, double right, double top);

// The whole field, of the window's aspect, as one sheet in the current colour under what is drawn
// next: texturing is off for the sheet and on again after it, ready for text.
void coverFieldForText(double aspect);

void useNormalBlend();
void useAdditiveBlend();
